// A small JSON writer for what the bridge hands the page: objects, arrays, strings, numbers and
// flags, with the commas where they belong.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::web {

class JsonWriter {
 public:
  void beginObject() { open('{'); }
  void endObject() { close('}'); }
  void beginArray() { open('['); }
  void endArray() { close(']'); }
  // The key of the next value inside an object.
  void key(std::string_view k);
  void string(std::string_view s);
  void number(std::int64_t n);
  void boolean(bool b);
  void null();

  const std::string& text() const { return out_; }

 private:
  void open(char c);
  void close(char c);
  void separate();
  void quoted(std::string_view s);

  std::string out_;
  std::vector<bool> first_;  // per open level: nothing written in it yet
  bool afterKey_ = false;
};

}  // namespace orvane::web
