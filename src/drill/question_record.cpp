#include "drill/question_record.hpp"

#include "core/text.hpp"

namespace orvane {

QuestionRecord readRecord(QuestionFile& file) {
  QuestionRecord r;
  const auto line = [&](std::string& into) {
    if (!file.atEnd()) ++r.linesRead;
    into = file.readLine();
  };
  line(r.prompt);
  for (int i = 2; i <= 9; ++i) line(r.wordSlots[static_cast<std::size_t>(i)]);
  return r;
}

std::string modelAnswer(const QuestionRecord& record) {
  std::string answer;
  for (int i = 2; i <= 9; ++i) {
    const std::string slot = text::trim(record.wordSlots[static_cast<std::size_t>(i)]);
    if (slot.empty()) continue;
    if (i == 9) {
      answer = text::trim(answer) + slot;
    } else {
      answer += slot + " ";
    }
  }
  return answer;
}

Marker readMarker(QuestionFile& file) {
  if (!file.isOpen() || file.atEnd()) return Marker::End;
  const std::string marker = file.readLine();
  if (marker.empty()) return file.restIsBlank() ? Marker::End : Marker::Question;
  return marker[0] == '*' ? Marker::Star : Marker::Question;
}

}  // namespace orvane
