#include "window/caption.hpp"

#include <algorithm>

namespace orvane {

namespace {
void appendEscaped(std::string& out, char c) {
  switch (c) {
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '&':
      out += "&amp;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      out += c;
  }
}

// Length of the UTF-8 character that starts with byte `c`.
std::size_t charLength(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}
}  // namespace

std::string accessKeyHtml(const std::string& caption) {
  std::string out;
  bool underlined = false;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c != '&' || i + 1 >= caption.size()) {
      appendEscaped(out, c);
      continue;
    }
    const char next = caption[i + 1];
    if (next == '&') {
      out += "&amp;";
      ++i;
    } else if (!underlined) {
      // Only the first mark underlines; later ones just vanish, as in a menu caption.
      const std::size_t len =
          std::min(charLength(static_cast<unsigned char>(next)), caption.size() - (i + 1));
      out += "<u>";
      for (std::size_t k = 0; k < len; ++k) appendEscaped(out, caption[i + 1 + k]);
      out += "</u>";
      underlined = true;
      i += len;
    }
  }
  return out;
}

}  // namespace orvane
