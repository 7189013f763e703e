// A question file made from a spreadsheet: teachers keep lessons in Excel or LibreOffice, one
// question a row (the Japanese prompt, then the English sentence in one cell, or its words in
// cells of their own), and export CSV. The closing mark is taken from the sentence's end, and
// the sentence's capital letter is lowered unless the first word is "I" or a name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct CsvRowProblem {
  std::size_t row;  // from 1, as the spreadsheet numbers its rows
  std::string message;
};

struct CsvLesson {
  std::string questionFile;  // UTF-8 with a byte-order mark, CR LF lines, ended by "*"
  std::size_t questions = 0;
  bool headerSkipped = false;           // the first row had no English: a header, passed over
  std::vector<CsvRowProblem> problems;  // rows left out, and why
};

// The rows of RFC 4180 CSV text: fields split by commas, rows by CR LF or LF, a quoted field
// may hold commas, line breaks and doubled quotes. `rowLines` gets the line each row starts on.
std::vector<std::vector<std::string>> parseCsv(std::string_view text,
                                               std::vector<std::size_t>* rowLines = nullptr);

// The CSV's bytes (UTF-8 with or without a byte-order mark, Shift-JIS as Excel saves it in
// Japan, or UTF-16) as a question file; a row that cannot be a question is named and left out.
CsvLesson questionFileFromCsv(std::string_view bytes);

}  // namespace orvane
