#include "reading/number_words.hpp"

#include "reading/japanese_numbers.hpp"
#include "reading/large_numbers.hpp"

namespace orvane::japanese {

namespace {
// Reads the numbers of a prompt, with the counters after them, from MeCab's words.
class NumberReader {
 public:
  explicit NumberReader(const std::vector<Token>& tokens)
      : tokens_(tokens), table_(CounterTable::builtIn()) {}

  using Read = NumberRead;

  // A number (with what goes with it: its counter, a decimal part, minutes, a denominator)
  // starting at token i.
  std::optional<Read> numberAt(std::size_t i, bool afterMonth) const {
    const Counter* currency = nullptr;
    if (i + 1 < tokens_.size() && isOneOf(tokens_[i].surface, {"¥", "￥", "$", "＄"})) {
      currency = table_.find(
          tokens_[i].surface.ends_with("$") || tokens_[i].surface == "＄" ? "ドル" : "円");
      ++i;
    }
    const Run a = numerals(i);
    if (a.text.empty()) return std::nullopt;
    std::string digits = positionalDigits(a.text);
    std::size_t j = a.next;
    // Thousands separators: 1,500 and １，５００.
    if (!digits.empty() && digits.size() <= 3) {
      while (j + 1 < tokens_.size() && isOneOf(tokens_[j].surface, {",", "，"}) && joins(j)) {
        const Run group = numerals(j + 1);
        const std::string groupDigits = positionalDigits(group.text);
        if (groupDigits.size() != 3) break;
        digits += groupDigits;
        j = group.next;
      }
    }
    const std::string number = digits.empty() ? std::string(a.text) : digits;
    if (j + 1 < tokens_.size() && !currency && joins(j)) {
      const std::string_view separator = tokens_[j].surface;
      const Run b = numerals(j + 1);
      const std::string bDigits = positionalDigits(b.text);
      if (!bDigits.empty() && isOneOf(separator, {".", "．"})) {
        return Read{readAlone(number, "レイ") + "テン" + digitByDigit(bDigits), b.next};
      }
      if (bDigits.size() == 2 && isOneOf(separator, {":", "："})) {
        const auto hour = numberValue(number);
        const auto minute = numberValue(bDigits);
        if (hour && *hour <= 24 && *minute < 60) {
          std::string kana = withCounter(spokenNumber(*hour), *table_.find("時"));
          if (*minute > 0) kana += withCounter(spokenNumber(*minute), *table_.find("分"));
          return Read{kana, b.next};
        }
      }
      if (!b.text.empty() && isOneOf(separator, {"/", "／", "⁄"})) {
        return Read{readAlone(b.text) + "ブンノ" + readAlone(number), b.next};
      }
    }
    const auto value = numberValue(number);
    const bool leadingZero = digits.size() > 1 && digits[0] == '0';
    const auto large = value || leadingZero ? std::nullopt : largeNumber(number);
    if ((!value && !large) || leadingZero) return Read{readAlone(number), j};
    const SpokenNumber spoken = value ? spokenNumber(*value) : *large;
    if (currency) return Read{withCounter(spoken, *currency), j};
    if (const auto c = counterAt(j)) {
      return Read{withCounter(spoken, *c->counter, afterMonth) + c->rest, c->next,
                  c->counter->surface == "月"};
    }
    return Read{spoken.text(), j};
  }

  // 何 and a counter after it, at token i.
  std::optional<Read> nanAt(std::size_t i) const {
    const std::string_view surface = tokens_[i].surface;
    if (!surface.starts_with("何")) return std::nullopt;
    if (surface.size() > std::string_view("何").size()) {
      // One word of the dictionary's (何分 as ナニブン): 何 and the counter all the same.
      const Counter* c = table_.find(surface.substr(std::string_view("何").size()));
      if (!c) return std::nullopt;
      return Read{nanWithCounter(*c), i + 1, c->surface == "月"};
    }
    const auto c = counterAt(i + 1);
    if (!c) return std::nullopt;
    return Read{nanWithCounter(*c->counter) + c->rest, c->next, c->counter->surface == "月"};
  }

 private:
  struct Run {
    std::string_view text;  // the numerals, joined
    std::size_t next;
  };
  // Numeral tokens from i on, joined: MeCab gives 二千二十六 and １０ a word per character.
  Run numerals(std::size_t i) const {
    const std::size_t first = i;
    while (i < tokens_.size() && isNumerals(tokens_[i].surface) &&
           (i == first || adjacent(i - 1, i))) {
      ++i;
    }
    if (i == first) return {{}, i};
    const char* begin = tokens_[first].surface.data();
    const auto through = [&](std::size_t last) {
      const char* end = tokens_[last].surface.data() + tokens_[last].surface.size();
      return std::string_view(begin, static_cast<std::size_t>(end - begin));
    };
    // The units past 京 are no numerals to MeCab, and the longer ones come in two words (無量
    // 大数): the run goes on while it stays a large number.
    for (bool longer = true; longer;) {
      longer = false;
      for (std::size_t k = i; k < tokens_.size() && k < i + 3 && adjacent(k - 1, k); ++k) {
        if (isLargeNumeral(through(k))) {
          i = k + 1;
          longer = true;
          break;
        }
      }
    }
    return {through(i - 1), i};
  }

  bool adjacent(std::size_t a, std::size_t b) const { return wordsTouch(tokens_[a], tokens_[b]); }

  // True when the sign at j stands right between two words, with no blank on either side.
  bool joins(std::size_t j) const { return adjacent(j - 1, j) && adjacent(j, j + 1); }

  struct CounterMatch {
    const Counter* counter;
    std::size_t next;
    std::string rest;  // the reading of what follows the counter in its own word
  };
  // The counter written by the words from j on: the longest that ends at a word's end, else one
  // that starts a longer word whose reading starts with the counter's (日中 ニチジュー).
  std::optional<CounterMatch> counterAt(std::size_t j) const {
    std::string written;
    std::optional<CounterMatch> best;
    for (std::size_t k = j; k < tokens_.size() && k < j + 3; ++k) {
      written += tokens_[k].surface;
      if (const Counter* c = table_.find(written)) best = CounterMatch{c, k + 1, {}};
    }
    if (best || j >= tokens_.size()) return best;
    const Token& t = tokens_[j];
    const Counter* c = table_.longestPrefix(t.surface);
    if (c && t.pronunciation.starts_with(c->reading)) {
      return CounterMatch{c, j + 1, std::string(t.pronunciation.substr(c->reading.size()))};
    }
    return std::nullopt;
  }

  const std::vector<Token>& tokens_;
  const CounterTable& table_;
};

}  // namespace

bool isOneOf(std::string_view s, std::initializer_list<std::string_view> options) {
  for (std::string_view o : options) {
    if (s == o) return true;
  }
  return false;
}

std::optional<NumberRead> readNumberAt(const std::vector<Token>& words, std::size_t i,
                                       bool afterMonth) {
  return NumberReader(words).numberAt(i, afterMonth);
}

std::optional<NumberRead> readNanAt(const std::vector<Token>& words, std::size_t i) {
  return NumberReader(words).nanAt(i);
}

}  // namespace orvane::japanese
