// Shift-JIS (code page 932) decoded through a table made from glibc's iconv "CP932"
// (make_cp932_table.py). The WebAssembly build reads question files with it, its C library having
// no CP932; the desktop keeps iconv, and a unit test holds the two to the same result.
#pragma once

#include <string>
#include <string_view>

namespace orvane::cp932 {

// The code of each byte by itself; kNone for a lead byte and for a byte that is no character.
inline constexpr char16_t kNone = 0xFFFF;
extern const char16_t kSingleByte[256];
// Lead bytes 0x81..0x9F and 0xE0..0xFC, one row each; trail bytes 0x40..0xFC.
extern const char16_t kDoubleByte[60][189];

// Decodes a line as iconv does in LineDecoder: a byte that starts no character becomes U+FFFD
// and decoding goes on at the next byte.
std::string decode(std::string_view raw);

}  // namespace orvane::cp932
