// The prompt made readable before MeCab sees it: compatibility forms as the characters they stand
// for (ＤＶＤ DVD, ⼀ 一, ㈱ 株式会社, ㎞ km, ℃ °C), numbers written as one character as digits
// (① 1, ㉑ 21, ٣ 3, 𝟓 5, ½ 1/2), and bytes that are no UTF-8 as a blank. Everything that reads as
// it stands is left as it is: full-width digits and punctuation, half-width katakana, the
// ideographic blank.
#pragma once

#include <string>
#include <string_view>

namespace orvane::japanese {

std::string normaliseForReading(std::string_view text);

}  // namespace orvane::japanese
