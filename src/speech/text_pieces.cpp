#include "speech/text_pieces.hpp"

#include <algorithm>

#include "core/text.hpp"

namespace orvane {

namespace {
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Runs of more than kLongestDigitRun digits get a blank after every four.
std::string withDigitGroups(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t end = i;
    while (end < text.size() && isDigit(text[end])) ++end;
    if (end - i > kLongestDigitRun) {
      for (std::size_t d = i; d < end; ++d) {
        if (d > i && (d - i) % 4 == 0) out += ' ';
        out += text[d];
      }
    } else {
      out.append(text.substr(i, end - i));
    }
    if (end < text.size()) out += text[end];
    i = end + 1;
  }
  return out;
}

// Where to cut `window`, the most bytes of `rest` a piece may take: just after the last
// sentence mark in its second half; else at its end, where a blank follows; else at the last
// blank or comma in its second half; 0 for none.
std::size_t cutPoint(std::string_view rest, std::string_view window) {
  static constexpr std::string_view kSentenceEnds[] = {".", "!", "?", "。", "！", "？"};
  static constexpr std::string_view kBreaks[] = {" ", ",", "、", "　", "\t", "\n"};
  const std::size_t half = window.size() / 2;
  const auto lastOf = [&](const auto& marks) {
    std::size_t best = 0;
    for (std::string_view mark : marks) {
      const std::size_t at = window.rfind(mark);
      if (at != std::string_view::npos && at + mark.size() > best) best = at + mark.size();
    }
    return best > half ? best : 0;
  };
  if (const std::size_t sentence = lastOf(kSentenceEnds)) return sentence;
  if (rest.size() > window.size() && rest[window.size()] == ' ') return window.size();
  return lastOf(kBreaks);
}
}  // namespace

std::vector<std::string> speakablePieces(std::string_view original, std::size_t first,
                                         std::size_t limit) {
  const std::string text = withDigitGroups(original);
  std::vector<std::string> pieces;
  std::string_view rest = text;
  std::size_t size = text.size() > limit ? first : limit;
  while (rest.size() > size) {
    const std::string_view window = text::leadingChars(rest, size);
    size = std::min(size * 2, limit);
    std::size_t cut = cutPoint(rest, window);
    if (cut == 0) cut = window.empty() ? text::utf8Length(rest, 0) : window.size();
    if (cut == 0) cut = 1;  // a stray byte
    std::string_view piece = rest.substr(0, cut);
    while (piece.size() > 1 && piece.back() == ' ') piece.remove_suffix(1);
    pieces.emplace_back(piece);
    rest.remove_prefix(cut);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
  if (!rest.empty()) pieces.emplace_back(rest);
  return pieces;
}

}  // namespace orvane
