#include "drill/cp932.hpp"

namespace orvane::cp932 {

namespace {
int leadRow(unsigned char b) {
  if (b >= 0x81 && b <= 0x9F) return b - 0x81;
  if (b >= 0xE0 && b <= 0xFC) return b - 0xE0 + 31;
  return -1;
}

char16_t pairCode(unsigned char lead, unsigned char trail) {
  const int row = leadRow(lead);
  if (row < 0 || trail < 0x40 || trail > 0xFC) return kNone;
  return kDoubleByte[row][trail - 0x40];
}

void appendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
}  // namespace

std::string decode(std::string_view raw) {
  std::string out;
  out.reserve(raw.size() * 3 / 2 + 4);
  for (std::size_t i = 0; i < raw.size();) {
    const auto b = static_cast<unsigned char>(raw[i]);
    if (i + 1 < raw.size()) {
      const char16_t c = pairCode(b, static_cast<unsigned char>(raw[i + 1]));
      if (c != kNone) {
        appendUtf8(out, c);
        i += 2;
        continue;
      }
    }
    const char16_t c = kSingleByte[b];
    if (c == kNone) {
      out += "\xEF\xBF\xBD";
    } else {
      appendUtf8(out, c);
    }
    ++i;
  }
  return out;
}

}  // namespace orvane::cp932
