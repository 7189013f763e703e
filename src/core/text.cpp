#include "core/text.hpp"

#include <algorithm>

#include "core/error.hpp"

namespace orvane::text {

namespace {
bool isTrimmed(unsigned char c) {
  return c <= 0x20;
}

}  // namespace

std::size_t utf8Length(std::string_view s, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) return 1;
  std::size_t len;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  if (b(i + 1) < lo || b(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < len; ++k) {
    if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
  }
  return len;
}

std::string_view leadingChars(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return s;
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t len = std::max<std::size_t>(utf8Length(s, end), 1);
    if (end + len > limit) break;
    end += len;
  }
  return s.substr(0, end);
}

std::string trim(std::string_view s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && isTrimmed(static_cast<unsigned char>(s[begin]))) ++begin;
  while (end > begin && isTrimmed(static_cast<unsigned char>(s[end - 1]))) --end;
  return std::string(s.substr(begin, end - begin));
}

std::string capitaliseFirst(std::string s) {
  if (s.empty()) throw rangeError();
  if (s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

bool isValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = utf8Length(s, i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

bool hasNonAscii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return true;
  }
  return false;
}

char32_t codePoint(std::string_view ch) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(ch[i]); };
  switch (ch.size()) {
    case 1:
      return b(0);
    case 2:
      return ((b(0) & 0x1Fu) << 6) | (b(1) & 0x3Fu);
    case 3:
      return ((b(0) & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
    default:
      return ((b(0) & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12) | ((b(2) & 0x3Fu) << 6) |
             (b(3) & 0x3Fu);
  }
}

std::size_t characterCount(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) i += std::max<std::size_t>(1, utf8Length(s, i));
  return count;
}

std::vector<std::string_view> characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = utf8Length(s, i);
    if (len == 0) len = 1;
    out.push_back(s.substr(i, len));
    i += len;
  }
  return out;
}

std::string errorReportText(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
  std::vector<std::string_view> out;
  for (;;) {
    const std::size_t at = s.find(separator);
    out.push_back(s.substr(0, at));
    if (at == std::string_view::npos) return out;
    s.remove_prefix(at + 1);
  }
}

}  // namespace orvane::text
