// Turns the bytes of a question file's lines into UTF-8. Shift-JIS (code page 932) is the
// format's encoding; files saved as UTF-8 by modern editors are recognised and read as they are.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace orvane {

// UTF-16 (as Windows' Notepad and Excel's "Unicode text" save) is turned into UTF-8 as the file
// is opened (see Utf16Order), so its lines decode as UTF-8's do.
enum class Encoding { ShiftJis, Utf8, Utf16 };

// The byte order of a UTF-16 text, from its first bytes: a byte-order mark says it; without one,
// a file whose first two characters are ASCII in UTF-16 (a question file's marker line, "1" and
// its line end) shows it by their zero bytes, which Shift-JIS and UTF-8 text never has.
enum class Utf16Order { None, LittleEndian, BigEndian };
struct Utf16Guess {
  Utf16Order order = Utf16Order::None;
  std::size_t bomLength = 0;  // 0 or 2
};
Utf16Guess guessUtf16(std::string_view head);

// UTF-16 in `order` as UTF-8; an unpaired surrogate and a last odd byte become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, Utf16Order order);

struct EncodingGuess {
  Encoding encoding;
  std::size_t bomLength;  // bytes of a UTF-8 byte-order mark to skip, 0 or 3
  // The bytes read without a fault in the other encoding too (and not as ASCII alone, which
  // reads the same either way): the guess decided between two readings.
  bool otherPossible = false;
};

// A UTF-8 byte-order mark means UTF-8; so does valid UTF-8 throughout whose UTF-8 reading holds
// Japanese characters (kana, CJK ideographs and punctuation, full-width forms) or typographic
// punctuation (’ “ ” — … and the rest of Unicode's general punctuation, € ™), as an English
// file saved by a word processor does. Anything else is Shift-JIS: half-width katakana in
// Shift-JIS can happen to be valid UTF-8, but only as two-byte characters, Latin or Greek
// letters, never as Japanese or as those marks. Pure ASCII reads the same either way.
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
  bool telling_ = false;  // a character in UTF-8 that Shift-JIS could not have made
  bool ascii_ = true;
  // Shift-JIS: the bytes so far pair up into characters; the last was a lead byte.
  bool shiftJisValid_ = true;
  bool shiftJisLead_ = false;
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
  // The same, reusing `raw` when it is well-formed UTF-8 already.
  std::string decode(std::string&& raw);

 private:
  struct Iconv;
  Encoding encoding_;
  std::unique_ptr<Iconv> iconv_;
};

}  // namespace orvane
