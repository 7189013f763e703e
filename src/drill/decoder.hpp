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

// A UTF-8 byte-order mark means UTF-8; so does valid UTF-8 throughout whose UTF-8 reading holds
// Japanese characters (kana, CJK ideographs and punctuation, full-width forms). Anything else is
// Shift-JIS: half-width katakana in Shift-JIS can happen to be valid UTF-8, but it then reads
// as Latin or Greek letters, never as Japanese. Pure ASCII reads the same either way.
EncodingGuess guessEncoding(std::string_view bytes);

// The same guess over a file fed in pieces of any size, so a file need not be held whole.
class EncodingSniffer {
 public:
  void feed(std::string_view chunk);
  EncodingGuess result() const;

 private:
  void scan(std::string_view bytes, bool last);

  std::string head_;     // the first bytes, for the byte-order mark
  std::string pending_;  // a character cut off at the end of the last piece
  bool valid_ = true;
  bool japanese_ = false;
};

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
