#include "app/transcript.hpp"

namespace orvane::transcript {

std::string quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string say(std::int32_t mode, std::int32_t speed, const std::string& text) {
  return "say mode=" + std::to_string(mode) + " speed=" + std::to_string(speed) + " " + quote(text);
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
