// The numbers of a prompt read from MeCab's words: a run of numeral words joined into one value,
// with what goes with it (its counter, a decimal part, minutes, a denominator, a currency sign),
// and 何 before a counter. The readings themselves come from japanese_numbers.hpp.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::japanese {

// One word as MeCab splits a prompt; the views point into the prompt itself.
struct Token {
  std::string_view surface;
  std::string_view pronunciation;  // empty for a word the dictionary does not know
  std::string_view partOfSpeech;
};

// True when nothing (a blank, which MeCab skips) stands between the two words.
inline bool wordsTouch(const Token& before, const Token& after) {
  return before.surface.data() + before.surface.size() == after.surface.data();
}

struct NumberRead {
  std::string kana;
  std::size_t next;    // the first word after what was read
  bool month = false;  // what was read ends with a month (4月), so a day may follow
};

// A number, with what goes with it, starting at word i; `afterMonth`: the word before was a
// month, so a day of the month may follow (4月1日 ツイタチ).
std::optional<NumberRead> readNumberAt(const std::vector<Token>& words, std::size_t i,
                                       bool afterMonth);
// 何 and the counter after it, at word i (何本 ナンボン).
std::optional<NumberRead> readNanAt(const std::vector<Token>& words, std::size_t i);

bool isOneOf(std::string_view s, std::initializer_list<std::string_view> options);

}  // namespace orvane::japanese
