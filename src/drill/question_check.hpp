// The teachers' checker: reads a question file exactly as the drill does and says what would go
// wrong with it in the drill, line by line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "drill/decoder.hpp"
#include "drill/question_file.hpp"

namespace orvane {

struct Finding {
  std::size_t line;    // from 1
  std::size_t record;  // the question's number, from 1
  std::string message;
};

struct AskedQuestion {
  std::string prompt;
  std::string answer;  // the model answer, as the drill checks it
};

struct CheckResult {
  Encoding encoding;
  std::vector<Finding> findings;
  std::vector<AskedQuestion> questions;  // what the drill will ask, in order
};

// A check of a prompt that needs more than the drill knows (the reader: a character the voice
// would drop); it returns a finding's message, or nothing.
using PromptCheck = std::function<std::string(const std::string& prompt)>;

// Reads the open file to its end, handing over each finding and each question as it comes, so
// that a file of any size is checked in the same memory. With `followShifts`, a record with a
// line too many or too few is named once, at the line where the cause lies, and checking goes
// on from where the next record really starts (the questions handed over are then no longer the
// drill's); without it, records are read ten lines at a time, exactly as the drill reads them.
void checkQuestionFile(QuestionFile& file, const std::function<void(const Finding&)>& onFinding,
                       const std::function<void(const AskedQuestion&)>& onQuestion,
                       bool followShifts, const PromptCheck& checkPrompt = {});

// The same, everything collected (tests, small files).
CheckResult checkQuestionFile(QuestionFile& file, const PromptCheck& checkPrompt = {});

}  // namespace orvane
