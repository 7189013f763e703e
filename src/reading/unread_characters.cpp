#include "reading/unread_characters.hpp"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/text.hpp"
#include "reading/japanese_reading.hpp"
#include "reading/reading_pieces.hpp"

namespace orvane {

std::string unreadCharactersFinding(JapaneseReader& reader, std::string_view prompt) {
  constexpr std::size_t kNamed = 5;
  // Piece by piece, keeping only the distinct characters dropped: a prompt of any length is
  // checked in the same memory.
  std::vector<std::string> distinct;
  std::set<std::string, std::less<>> seen;
  std::string dropped;
  while (!prompt.empty()) {
    const std::size_t length = japanese::pieceLength(prompt);
    dropped.clear();
    reader.read(prompt.substr(0, length), &dropped);
    for (std::string_view ch : text::characters(dropped)) {
      if (seen.insert(std::string(ch)).second) distinct.emplace_back(ch);
    }
    prompt.remove_prefix(length);
  }
  if (distinct.empty()) return {};
  std::string message = "問題文の";
  for (std::size_t i = 0; i < distinct.size() && i < kNamed; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "(U+%04X)",
                  static_cast<unsigned>(text::codePoint(distinct[i])));
    message += "「" + distinct[i] + "」" + code;
  }
  if (distinct.size() > kNamed) message += "など " + std::to_string(distinct.size()) + " 字";
  return message + "は日本語の音声で読めないため、飛ばされます";
}

}  // namespace orvane
