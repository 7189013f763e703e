// Small text rules shared by the drill and the speaking commands. Texts are UTF-8 inside the
// program; the rules act on ASCII bytes only, so they behave the same as on the 8-bit originals.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::text {

// Removes every leading and trailing byte from 0x00 to 0x20 (blanks and control characters).
std::string trim(std::string_view s);

// Upper-cases the first character when it is an ASCII letter a to z. An empty text has no first
// character: that is a range error.
std::string capitaliseFirst(std::string s);

// True when `s` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view s);

// True when `s` holds at least one byte of 0x80 or above.
bool hasNonAscii(std::string_view s);

// Length of the well-formed UTF-8 character at s[i], or 0 when the bytes there form none.
std::size_t utf8Length(std::string_view s, std::size_t i);

// The longest start of `s` of at most `limit` bytes that cuts no character in half.
std::string_view leadingChars(std::string_view s, std::size_t limit);

// The parts of `s` between the separators (one part when there is none; empty parts kept).
std::vector<std::string_view> split(std::string_view s, char separator);
// The code point of one well-formed UTF-8 character (as characters() gives them).
char32_t codePoint(std::string_view ch);

// Splits well-formed UTF-8 into its characters; a stray byte counts as one character.
std::vector<std::string_view> characters(std::string_view s);
// How many characters characters(s) would give, without holding them.
std::size_t characterCount(std::string_view s);

// The general error report's text: a "." is added unless the last byte sorts at or before ".".
std::string errorReportText(std::string message);

}  // namespace orvane::text
