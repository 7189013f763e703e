#include "web/json_writer.hpp"

namespace orvane::web {

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
}

void JsonWriter::open(char c) {
  separate();
  out_ += c;
  first_.push_back(true);
}

void JsonWriter::close(char c) {
  out_ += c;
  first_.pop_back();
}

void JsonWriter::key(std::string_view k) {
  separate();
  quoted(k);
  out_ += ':';
  afterKey_ = true;
}

void JsonWriter::string(std::string_view s) {
  separate();
  quoted(s);
}

void JsonWriter::number(std::int64_t n) {
  separate();
  out_ += std::to_string(n);
}

void JsonWriter::boolean(bool b) {
  separate();
  out_ += b ? "true" : "false";
}

void JsonWriter::null() {
  separate();
  out_ += "null";
}

void JsonWriter::quoted(std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out_ += '"';
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += ch;
    } else if (c < 0x20) {
      out_ += "\\u00";
      out_ += kHex[c >> 4];
      out_ += kHex[c & 15];
    } else {
      out_ += ch;
    }
  }
  out_ += '"';
}

}  // namespace orvane::web
