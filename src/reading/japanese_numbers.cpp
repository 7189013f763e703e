#include "reading/japanese_numbers.hpp"

#include <algorithm>
#include <array>
#include <limits>

#include "core/text.hpp"

namespace orvane::japanese {

namespace {

constexpr std::array<std::string_view, 10> kDigitKana = {"ゼロ", "イチ", "ニ",   "サン", "ヨン",
                                                         "ゴ",   "ロク", "ナナ", "ハチ", "キュー"};

// The kana of a last part ending in ッ: イチ イッ, ハチ ハッ, ロク ロッ, ジュー ジュッ,
// ヒャク ヒャッ. Other endings have no such form and stay.
std::string withSmallTsu(std::string kana) {
  static constexpr std::string_view kEndings[] = {"ク", "チ", "ツ", "ー"};
  for (std::string_view ending : kEndings) {
    if (kana.size() > ending.size() && kana.ends_with(ending)) {
      kana.replace(kana.size() - ending.size(), ending.size(), "ッ");
      break;
    }
  }
  return kana;
}

// The number and the counter's reading, apart (the counter's may be empty when a whole form
// stands for both).
struct Joined {
  std::string number;
  std::string counter;
};

Joined join(const SpokenNumber& n, const Counter& c, bool afterMonth) {
  if (c.as) {
    Joined j = join(n, *c.as, afterMonth);
    j.counter += c.asSuffix;
    return j;
  }
  if (n.key != "何") {
    if (afterMonth) {
      if (auto it = c.monthDay.find(n.value); it != c.monthDay.end())
        return {n.head + it->second, ""};
    }
    // A whole form stands for the whole number: 20歳 ハタチ, but 120歳 ヒャクニジュッサイ.
    if (auto it = c.whole.find(n.value); it != c.whole.end()) {
      return {it->second, ""};
    }
  }
  std::string last = n.last;
  if (auto it = c.digitForm.find(n.key); it != c.digitForm.end()) last = it->second;
  if (std::find(c.smallTsu.begin(), c.smallTsu.end(), n.key) != c.smallTsu.end()) {
    last = withSmallTsu(last);
  }
  auto after = c.readingAfter.find(n.key);
  return {n.head + last, after != c.readingAfter.end() ? after->second : c.reading};
}

const Counter& unit(std::string_view surface) {
  return *CounterTable::builtIn().find(surface);
}

SpokenNumber digit(unsigned d) {
  return {"", std::to_string(d), std::string(kDigitKana[d]), d};
}

// 1 to 9999.
SpokenNumber spokenGroup(unsigned group) {
  static constexpr std::pair<unsigned, std::string_view> kUnits[] = {
      {1000, "千"}, {100, "百"}, {10, "十"}};
  std::string said;
  for (const auto& [size, surface] : kUnits) {
    const unsigned d = group / size % 10;
    if (d == 0) continue;
    const Counter& u = unit(surface);
    const bool last = group % size == 0;
    Joined j = d == 1 ? Joined{"", u.reading} : join(digit(d), u, false);
    if (last) return {said + j.number, std::to_string(size), j.counter, group};
    said += j.number + j.counter;
  }
  SpokenNumber ones = digit(group % 10);
  ones.head = said;
  ones.value = group;
  return ones;
}

}  // namespace

namespace {
// The digit a numeral character stands for, or -1; the unit it stands for in `unitOut`.
int numeral(std::string_view ch, std::uint64_t& unitOut) {
  unitOut = 0;
  if (ch.size() == 1) return ch[0] >= '0' && ch[0] <= '9' ? ch[0] - '0' : -1;
  if (ch.size() == 3 && ch.substr(0, 2) == "\xEF\xBC") {  // full-width digits
    const auto last = static_cast<unsigned char>(ch[2]);
    return last >= 0x90 && last <= 0x99 ? last - 0x90 : -1;
  }
  static constexpr std::string_view kKanjiDigits[] = {"〇", "一", "二", "三", "四",
                                                      "五", "六", "七", "八", "九"};
  for (int d = 0; d < 10; ++d) {
    if (ch == kKanjiDigits[d]) return d;
  }
  static constexpr std::pair<std::string_view, std::uint64_t> kUnits[] = {
      {"十", 10},
      {"百", 100},
      {"千", 1000},
      {"万", 10'000},
      {"億", 100'000'000},
      {"兆", 1'000'000'000'000},
      {"京", 10'000'000'000'000'000}};
  for (const auto& [surface, size] : kUnits) {
    if (ch == surface) unitOut = size;
  }
  return -1;
}
}  // namespace

bool isNumerals(std::string_view text) {
  if (text.empty()) return false;
  for (std::string_view ch : text::characters(text)) {
    std::uint64_t unitSize = 0;
    if (numeral(ch, unitSize) < 0 && unitSize == 0) return false;
  }
  return true;
}

std::string positionalDigits(std::string_view text) {
  std::string out;
  for (std::string_view ch : text::characters(text)) {
    std::uint64_t unitSize = 0;
    const int d = numeral(ch, unitSize);
    if (d < 0) return {};
    out += static_cast<char>('0' + d);
  }
  return out;
}

std::optional<std::uint64_t> numberValue(std::string_view numerals) {
  using Wide = unsigned __int128;
  constexpr Wide kMax = std::numeric_limits<std::uint64_t>::max();
  Wide total = 0, group = 0, pending = 0;
  bool hasPending = false, any = false;
  for (std::string_view ch : text::characters(numerals)) {
    std::uint64_t size = 0;
    const int d = numeral(ch, size);
    any = true;
    if (d >= 0) {
      pending = pending * 10 + static_cast<unsigned>(d);
      hasPending = true;
      if (pending > kMax) return std::nullopt;
    } else if (size >= 10'000) {
      const Wide part = group + pending;
      total += (part == 0 ? 1 : part) * size;
      group = pending = 0;
      hasPending = false;
    } else if (size > 0) {
      group += (hasPending ? pending : 1) * size;
      pending = 0;
      hasPending = false;
    } else {
      return std::nullopt;
    }
    if (total > kMax || group > kMax) return std::nullopt;
  }
  total += group + pending;
  if (!any || total > kMax) return std::nullopt;
  return static_cast<std::uint64_t>(total);
}

SpokenNumber spokenNumber(std::uint64_t value) {
  if (value == 0) return digit(0);
  static constexpr std::string_view kMyriads[] = {"", "万", "億", "兆", "京"};
  unsigned groups[5];
  std::uint64_t rest = value;
  for (unsigned& g : groups) {
    g = static_cast<unsigned>(rest % 10'000);
    rest /= 10'000;
  }
  std::string said;
  for (int k = 4; k >= 0; --k) {
    if (groups[k] == 0) continue;
    SpokenNumber g = spokenGroup(groups[k]);
    std::uint64_t below = 1;  // the size of this group's unit
    for (int i = 0; i < k; ++i) below *= 10'000;
    const bool last = value % below == 0;
    if (k == 0) {
      g.head = said + g.head;
      g.value = value;
      return g;
    }
    const Joined j = join(g, unit(kMyriads[k]), false);
    if (last) return {said + j.number, std::string(kMyriads[k]), j.counter, value};
    said += j.number + j.counter;
  }
  return {};  // not reached: value > 0 has a nonzero group
}

std::string withCounter(const SpokenNumber& number, const Counter& counter, bool afterMonth) {
  const Joined j = join(number, counter, afterMonth);
  return j.number + j.counter;
}

std::string nanWithCounter(const Counter& counter) {
  return withCounter({"", "何", "ナン", 0}, counter);
}

std::string readAlone(std::string_view numerals, std::string_view zero) {
  const std::string digits = positionalDigits(numerals);
  const auto value = numberValue(numerals);
  if (value && *value == 0) return std::string(zero);
  if (!value || (digits.size() > 1 && digits[0] == '0')) return digitByDigit(digits);
  return spokenNumber(*value).text();
}

std::string digitByDigit(std::string_view asciiDigits) {
  std::string out;
  for (char c : asciiDigits) {
    if (c >= '0' && c <= '9') out += kDigitKana[static_cast<unsigned>(c - '0')];
  }
  return out;
}

}  // namespace orvane::japanese
