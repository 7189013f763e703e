#include "reading/unread_characters.hpp"

#include <cstdio>
#include <vector>

#include "core/text.hpp"
#include "reading/japanese_reading.hpp"

namespace orvane {

std::string unreadCharactersFinding(JapaneseReader& reader, std::string_view prompt) {
  constexpr std::size_t kNamed = 5;
  std::string dropped;
  reader.read(prompt, &dropped);
  if (dropped.empty()) return {};
  std::vector<std::string_view> distinct;
  for (std::string_view ch : text::characters(dropped)) {
    bool seen = false;
    for (std::string_view d : distinct) seen = seen || d == ch;
    if (!seen) distinct.push_back(ch);
  }
  std::string message = "問題文の";
  for (std::size_t i = 0; i < distinct.size() && i < kNamed; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "(U+%04X)",
                  static_cast<unsigned>(text::codePoint(distinct[i])));
    message += "「" + std::string(distinct[i]) + "」" + code;
  }
  if (distinct.size() > kNamed) message += "など " + std::to_string(distinct.size()) + " 字";
  return message + "は日本語の音声で読めないため、飛ばされます";
}

}  // namespace orvane
