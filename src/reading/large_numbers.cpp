#include "reading/large_numbers.hpp"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/text.hpp"

namespace orvane::japanese {

namespace {

struct Unit {
  std::string_view surface;
  std::string_view reading;
  bool everyday;  // also a word of its own
};

// The myriad units from 万 (10^4) on, one for each power of 10,000.
constexpr Unit kMyriads[] = {
    {"万", "マン", false},
    {"億", "オク", false},
    {"兆", "チョー", false},
    {"京", "ケー", false},
    {"垓", "ガイ", false},
    {"𥝱", "ジョ", false},
    {"穣", "ジョー", false},
    {"溝", "コー", true},
    {"澗", "カン", true},
    {"正", "セー", true},
    {"載", "サイ", true},
    {"極", "ゴク", true},
    {"恒河沙", "ゴーガシャ", false},
    {"阿僧祇", "アソーギ", false},
    {"那由他", "ナユタ", false},
    {"不可思議", "フカシギ", false},
    {"無量大数", "ムリョータイスー", false},
};
constexpr std::size_t kMyriadCount = std::size(kMyriads);

// A whole number in base 10,000, lowest group first.
using Groups = std::vector<std::uint32_t>;

void multiplyAdd(Groups& n, std::uint32_t factor, std::uint32_t add) {
  std::uint64_t carry = add;
  for (std::uint32_t& g : n) {
    const std::uint64_t v = std::uint64_t{g} * factor + carry;
    g = static_cast<std::uint32_t>(v % 10'000);
    carry = v / 10'000;
  }
  while (carry) n.push_back(static_cast<std::uint32_t>(carry % 10'000)), carry /= 10'000;
}

void addShifted(Groups& total, const Groups& part, std::size_t shift) {
  if (total.size() < part.size() + shift) total.resize(part.size() + shift, 0);
  std::uint32_t carry = 0;
  for (std::size_t i = shift; i < total.size(); ++i) {
    const std::size_t k = i - shift;
    const std::uint32_t v = total[i] + (k < part.size() ? part[k] : 0) + carry;
    total[i] = v % 10'000;
    carry = v / 10'000;
    if (k >= part.size() && carry == 0) break;
  }
  if (carry) total.push_back(carry);
}

bool isZero(const Groups& n) {
  for (std::uint32_t g : n) {
    if (g) return false;
  }
  return true;
}

struct Numeral {
  int digit = -1;          // 0-9, or -1
  unsigned small = 0;      // 10, 100, 1000
  std::size_t myriad = 0;  // 1 for 万, 2 for 億, ...
  const Unit* unit = nullptr;
  std::size_t length = 0;
};

Numeral numeralAt(std::string_view text) {
  Numeral n;
  const std::size_t length = text::utf8Length(text, 0);
  if (length == 0) return n;
  const std::string_view ch = text.substr(0, length);
  n.length = length;
  const std::string digits = positionalDigits(ch);
  if (!digits.empty()) {
    n.digit = digits[0] - '0';
    return n;
  }
  static constexpr std::pair<std::string_view, unsigned> kSmall[] = {
      {"十", 10}, {"百", 100}, {"千", 1000}};
  for (const auto& [surface, size] : kSmall) {
    if (ch == surface) {
      n.small = size;
      return n;
    }
  }
  for (std::size_t k = 0; k < kMyriadCount; ++k) {
    if (text.starts_with(kMyriads[k].surface)) {
      n.myriad = k + 1;
      n.unit = &kMyriads[k];
      n.length = kMyriads[k].surface.size();
      return n;
    }
  }
  n.length = 0;
  return n;
}

// The value of `text`, read as numberValue reads kanji numbers; empty when it is not a numeral
// with a unit in it, or a unit past 京 stands first or an everyday one last.
std::optional<Groups> parse(std::string_view text) {
  Groups total, group, pending;
  bool hasPending = false, anyUnit = false, afterNumeral = false;
  const Unit* last = nullptr;
  while (!text.empty()) {
    const Numeral n = numeralAt(text);
    if (n.length == 0) return std::nullopt;
    text.remove_prefix(n.length);
    last = n.unit;
    if (n.digit >= 0) {
      multiplyAdd(pending, 10, static_cast<std::uint32_t>(n.digit));
      hasPending = true;
    } else if (n.small) {
      anyUnit = true;
      Groups part = hasPending ? pending : Groups{1};
      multiplyAdd(part, n.small, 0);
      addShifted(group, part, 0);
      pending.clear();
      hasPending = false;
    } else {
      anyUnit = true;
      if (n.myriad > 4 && !afterNumeral) return std::nullopt;
      Groups part = group;
      addShifted(part, pending, 0);
      if (isZero(part)) part = {1};
      addShifted(total, part, n.myriad);
      group.clear();
      pending.clear();
      hasPending = false;
    }
    afterNumeral = true;
  }
  if (!anyUnit || (last && last->everyday)) return std::nullopt;
  addShifted(total, group, 0);
  addShifted(total, pending, 0);
  while (!total.empty() && total.back() == 0) total.pop_back();
  return total;
}

const Counter& tableUnit(std::string_view surface) {
  return *CounterTable::builtIn().find(surface);
}

// The groups as spoken: each with its unit, those up to 京 with the sound changes of the counter
// table (イッチョー, イッケー).
SpokenNumber spoken(const Groups& n) {
  std::string said;
  if (n.size() > kMyriadCount + 1) {
    // Past the last unit: the number of 無量大数 is itself read as a number.
    const Groups high(n.begin() + kMyriadCount, n.end());
    said = spoken(high).text() + std::string(kMyriads[kMyriadCount - 1].reading);
  }
  const std::size_t top = std::min(n.size(), kMyriadCount + (said.empty() ? 1 : 0));
  for (std::size_t k = top; k-- > 0;) {
    if (n[k] == 0) continue;
    SpokenNumber g = spokenNumber(n[k]);
    bool lastGroup = true;
    for (std::size_t below = 0; below < k; ++below) lastGroup = lastGroup && n[below] == 0;
    if (k == 0) {
      g.head = said + g.head;
      g.value = std::numeric_limits<std::uint64_t>::max();
      return g;
    }
    const Unit& unit = kMyriads[k - 1];
    std::string number = g.text(), reading(unit.reading);
    if (k <= 4) {
      const std::string joined = withCounter(g, tableUnit(unit.surface));
      number = joined.substr(0, joined.size() - tableUnit(unit.surface).reading.size());
      if (!joined.ends_with(tableUnit(unit.surface).reading)) number = joined, reading.clear();
    }
    if (lastGroup) {
      return {said + number, std::string(unit.surface), reading,
              std::numeric_limits<std::uint64_t>::max()};
    }
    said += number + reading;
  }
  return {said, "", "", std::numeric_limits<std::uint64_t>::max()};
}

}  // namespace

bool isLargeNumeral(std::string_view text) {
  return parse(text).has_value();
}

std::optional<SpokenNumber> largeNumber(std::string_view text) {
  const auto groups = parse(text);
  if (!groups || groups->empty()) return std::nullopt;
  return spoken(*groups);
}

}  // namespace orvane::japanese
