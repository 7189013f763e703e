#include "drill/question.hpp"

#include <algorithm>

#include "core/text.hpp"

namespace orvane {

std::int32_t Question::wordsToPlace() const {
  const auto present =
      std::count_if(words.begin(), words.end(), [](const std::string& w) { return !w.empty(); });
  return static_cast<std::int32_t>(present) + (mark.empty() ? 0 : 1) - 1;
}

Question questionFrom(QuestionRecord record, std::size_t number) {
  Question q;
  q.number = number;
  q.answer = modelAnswer(record);
  // The record keeps the file's line numbers: its words stand on lines 3 to 9, the mark on 10.
  for (std::size_t i = 0; i < Question::kMaxWords; ++i)
    q.words[i] = text::trim(record.wordSlots[i + 2]);
  q.mark = text::trim(record.wordSlots[9]);
  // Moved, never copied: a prompt may run to hundreds of megabytes.
  q.prompt = std::move(record.prompt);
  return q;
}

}  // namespace orvane
