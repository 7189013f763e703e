// Numbers as a Japanese speaker reads them, in katakana: values up to the 京 (10^16) units, the
// sound changes inside a number (サンビャク, ハッセン, イッチョー) and where a number meets the
// counter after it (イッポン, サンボン, ヨジ, ツイタチ, ハタチ). How each counter changes the
// number before it is data: the counter table (data/reading/counters.tsv), read once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "reading/counter_table.hpp"

namespace orvane::japanese {

// A number as spoken, split before its last part, which counters may change.
struct SpokenNumber {
  std::string head;  // everything before the last part
  std::string key;   // the last part's key in the counter table: "1".."9", "10", "100", "万", ...
  std::string last;  // the last part as said alone
  std::uint64_t value = 0;
  std::string text() const { return head + last; }
};

// The value of a run of numerals: ASCII or full-width digits, kanji digits with 〇, and the
// units 十 百 千 万 億 兆 京, in any mix (2024, ２０２４, 二〇二四, 二千二十四, 3万, 1億2000万).
// Empty for anything else, or a value past 2^64.
std::optional<std::uint64_t> numberValue(std::string_view numerals);

// True when every character of `text` is a numeral numberValue reads.
bool isNumerals(std::string_view text);

// Positional digits only (ASCII, full-width or kanji with 〇), as ASCII digits; empty if `text`
// holds a unit or anything else.
std::string positionalDigits(std::string_view text);

SpokenNumber spokenNumber(std::uint64_t value);

// The number read with the counter after it. `afterMonth`: the day of a date (4月1日).
std::string withCounter(const SpokenNumber& number, const Counter& counter,
                        bool afterMonth = false);

// 何 with the counter after it: 何本 ナンボン.
std::string nanWithCounter(const Counter& counter);

// A run of numerals read alone: as a number, or digit by digit after a leading zero (007) or
// past 2^64 positional digits; `zero` for the value 0 (レイ before a decimal point). Empty
// for numerals that are no value and no digits (kanji units past 2^64).
std::string readAlone(std::string_view numerals, std::string_view zero = "ゼロ");

// Digits read one by one (a telephone number, the digits after a decimal point): ゼロ for 0.
std::string digitByDigit(std::string_view asciiDigits);

}  // namespace orvane::japanese
