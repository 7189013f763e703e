// Turns the bytes of a question file's lines into UTF-8. Shift-JIS (code page 932) is the
// format's encoding; files saved as UTF-8 by modern editors are recognised and read as they are.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace orvane {

enum class Encoding { ShiftJis, Utf8 };

struct EncodingGuess {
  Encoding encoding;
  std::size_t bomLength;  // bytes of a UTF-8 byte-order mark to skip, 0 or 3
};

// A UTF-8 byte-order mark, or valid UTF-8 throughout with at least one multi-byte character,
// means UTF-8; anything else is Shift-JIS. Pure ASCII reads the same either way.
EncodingGuess guessEncoding(std::string_view bytes);

// Decodes line by line. Bytes that do not form a character of the encoding become U+FFFD, so
// junk is shown as junk and never reaches speech half-formed.
class LineDecoder {
 public:
  explicit LineDecoder(Encoding encoding);
  ~LineDecoder();
  LineDecoder(const LineDecoder&) = delete;
  LineDecoder& operator=(const LineDecoder&) = delete;

  std::string decode(std::string_view raw);

 private:
  struct Iconv;
  Encoding encoding_;
  std::unique_ptr<Iconv> iconv_;
};

}  // namespace orvane
