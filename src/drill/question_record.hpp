// The shape of a question file, read through the one question-file handle: a marker line, then
// nine lines (the prompt, the words on lines 3 to 9, the closing mark on line 10). The drill and
// the teachers' checker read records through here alike.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "drill/question_file.hpp"

namespace orvane {

struct QuestionRecord {
  std::string prompt;
  // Slots 2..9 as read, untrimmed: the words, then the closing mark; 0 and 1 are unused.
  std::array<std::string, 10> wordSlots;
  // Lines of the nine read before the file ended (9 for a whole record).
  std::size_t linesRead = 0;
};

// Reads the nine lines after a marker line.
QuestionRecord readRecord(QuestionFile& file);

// The model answer of a record: the trimmed words joined by blanks, the closing mark after the
// last word.
std::string modelAnswer(const QuestionRecord& record);

enum class Marker {
  Question,  // a record follows
  End,       // the end of the file, or an empty marker followed by nothing but blank lines
  Star,      // a marker beginning with "*": no question after it is asked
};

// Reads the marker line before the next record. A file that is not open has no more records.
Marker readMarker(QuestionFile& file);

}  // namespace orvane
