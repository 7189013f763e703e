#include "app/transcript.hpp"

#include <sstream>

namespace orvane::transcript {

namespace {
// How a byte is written: as it is (empty), or escaped.
std::string_view escapeOf(std::string_view text, std::size_t i, char (&buffer)[8]) {
  const auto c = static_cast<unsigned char>(text[i]);
  switch (c) {
    case '\\':
      return "\\\\";
    case '"':
      return "\\\"";
    case '\r':
      return "\\r";
    case '\n':
      return "\\n";
    default:
      break;
  }
  // Control characters would act on the terminal that shows the transcript: C0, DEL, and the
  // C1 controls U+0080 to U+009F (UTF-8 C2 80 to C2 9F), whose two bytes are both written.
  const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                  static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                  static_cast<unsigned char>(text[i + 1]) <= 0x9F;
  const bool c1Second =
      c >= 0x80 && c <= 0x9F && i > 0 && static_cast<unsigned char>(text[i - 1]) == 0xC2;
  if (c < 0x20 || c == 0x7F || c1 || c1Second) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    buffer[0] = '\\';
    buffer[1] = 'x';
    buffer[2] = kHex[c >> 4];
    buffer[3] = kHex[c & 15];
    return {buffer, 4};
  }
  return {};
}
}  // namespace

void writeQuoted(std::ostream& out, std::string_view text) {
  out << '"';
  char buffer[8];
  std::size_t plain = 0;  // start of the run of bytes written as they are
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view escaped = escapeOf(text, i, buffer);
    if (escaped.empty()) continue;
    out.write(text.data() + plain, static_cast<std::streamsize>(i - plain));
    out.write(escaped.data(), static_cast<std::streamsize>(escaped.size()));
    plain = i + 1;
  }
  out.write(text.data() + plain, static_cast<std::streamsize>(text.size() - plain));
  out << '"';
}

std::string quote(std::string_view text) {
  std::ostringstream out;
  writeQuoted(out, text);
  return std::move(out).str();
}

void writeSay(std::ostream& out, const Utterance& u) {
  out << "say mode=" << u.mode << " speed=" << u.rate << ' ';
  writeQuoted(out, u.text);
}

std::string say(const Utterance& u) {
  std::ostringstream out;
  writeSay(out, u);
  return std::move(out).str();
}
std::string message(const std::string& text) {
  return "message " + quote(text);
}
std::string error(const std::string& text) {
  return "error " + quote(text);
}
std::string help(const std::string& path) {
  return "help " + quote(path);
}
std::string focus(Control c) {
  return "focus " + std::string(controlName(c));
}

}  // namespace orvane::transcript
