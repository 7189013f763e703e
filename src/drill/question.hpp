// One question as the drill asks it: the prompt, the words of the model answer in the file's
// order, the closing mark and the model answer, and its place in the file. Words are counted from
// 0: the word on the record's line 3 is word 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "drill/question_record.hpp"

namespace orvane {

struct Question {
  static constexpr std::size_t kMaxWords = 7;

  std::size_t number = 0;  // 1 for the file's first record
  std::string prompt;      // as it stands in the file, blanks kept
  // Trimmed; "" where the record's word line is empty.
  std::array<std::string, kMaxWords> words;
  std::string mark;    // trimmed closing mark; "" when the record has none
  std::string answer;  // the words joined by blanks, the closing mark after the last

  // How many words are placed before a closing mark completes the sentence: every word when the
  // record has its mark, one fewer when it has none (a mark then closes a sentence that cannot
  // match). -1 for a record with nothing in it.
  std::int32_t wordsToPlace() const;
};

// The question a record holds; `number` is its place in the file.
Question questionFrom(QuestionRecord record, std::size_t number);

}  // namespace orvane
