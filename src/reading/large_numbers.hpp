// Kanji numbers past 2^64, read myriad by myriad with the names of the units beyond 京 (垓 ガイ,
// 𥝱 ジョ, 穣 ジョー, ... 無量大数 ムリョータイスー): 九千京 キューセンケー, 1垓 イチガイ. A unit
// that is also an everyday word (溝 澗 正 載 極) is a unit only with a numeral after it, so
// 一極集中 keeps its reading.
#pragma once

#include <optional>
#include <string_view>

#include "reading/japanese_numbers.hpp"

namespace orvane::japanese {

// True when `text` is digits and kanji units with at least one unit, every unit past 京 after a
// numeral.
bool isLargeNumeral(std::string_view text);

// The number as spoken, for a large numeral that holds a unit; empty otherwise. Its value is the
// largest 64-bit one, so that no counter's form for a small number applies.
std::optional<SpokenNumber> largeNumber(std::string_view text);

}  // namespace orvane::japanese
