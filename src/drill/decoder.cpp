#include "drill/decoder.hpp"

#ifndef __EMSCRIPTEN__
#include <iconv.h>
#endif

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "core/text.hpp"
#include "drill/cp932.hpp"

namespace orvane {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isJapanese(char32_t c) {
  return (c >= 0x3000 && c <= 0x30FF) ||  // CJK punctuation, hiragana, katakana
         (c >= 0x31F0 && c <= 0x31FF) ||  // katakana extensions
         (c >= 0x3400 && c <= 0x4DBF) ||  // CJK ideographs, extension A
         (c >= 0x4E00 && c <= 0x9FFF) ||  // CJK ideographs
         (c >= 0xF900 && c <= 0xFAFF) ||  // CJK compatibility ideographs
         (c >= 0xFF00 && c <= 0xFFEF);    // full-width and half-width forms
}

// Typographic marks an English text from a word processor holds: general punctuation
// (dashes, quotes, ellipsis, bullets), the euro and the trade mark. All three bytes long in
// UTF-8, so Shift-JIS half-width katakana never makes them.
bool isTypographic(char32_t c) {
  return (c >= 0x2010 && c <= 0x205E) || c == 0x20AC || c == 0x2122;
}

std::size_t expectedLength(unsigned char lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
}

}  // namespace

void EncodingSniffer::feed(std::string_view chunk) {
  if (head_.size() < kBom.size()) {
    head_.append(chunk.substr(0, kBom.size() - head_.size()));
  }
  for (const char ch : chunk) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80) ascii_ = false;
    if (shiftJisLead_) {
      // The second byte of a double-byte character.
      if (b < 0x40 || b == 0x7F || b > 0xFC) shiftJisValid_ = false;
      shiftJisLead_ = false;
    } else if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      shiftJisLead_ = true;
    } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
      shiftJisValid_ = false;
    }
  }
  if (!valid_) return;
  if (!pending_.empty()) {
    // Complete the character cut off at the end of the last piece.
    const std::size_t want = expectedLength(static_cast<unsigned char>(pending_[0]));
    const std::size_t take = std::min(want - pending_.size(), chunk.size());
    pending_.append(chunk.substr(0, take));
    chunk.remove_prefix(take);
    if (pending_.size() < want) return;
    const std::string whole = std::move(pending_);
    pending_.clear();
    scan(whole, true);
  }
  scan(chunk, false);
}

void EncodingSniffer::scan(std::string_view bytes, bool last) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t len = text::utf8Length(bytes, i);
    if (len == 0) {
      // Possibly a character that the next piece completes.
      const std::size_t want = expectedLength(static_cast<unsigned char>(bytes[i]));
      if (!last && want > 0 && i + want > bytes.size()) {
        pending_.assign(bytes.substr(i));
        return;
      }
      valid_ = false;
      return;
    }
    if (len > 1) {
      const char32_t c = text::codePoint(bytes.substr(i, len));
      if (isJapanese(c) || isTypographic(c)) telling_ = true;
    }
    i += len;
  }
}

EncodingGuess EncodingSniffer::result() const {
  if (head_ == kBom) return {Encoding::Utf8, kBom.size()};
  const bool utf8 = valid_ && pending_.empty();
  const bool shiftJis = shiftJisValid_ && !shiftJisLead_;
  if (utf8 && telling_) return {Encoding::Utf8, 0, !ascii_ && shiftJis};
  return {Encoding::ShiftJis, 0, !ascii_ && utf8};
}

Utf16Guess guessUtf16(std::string_view head) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
  if (head.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return {Utf16Order::LittleEndian, 2};
  if (head.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return {Utf16Order::BigEndian, 2};
  // Without a mark: the first two characters ASCII, each with its zero byte on the same side.
  if (head.size() < 4) return {};
  for (const bool little : {true, false}) {
    const auto low = [&](std::size_t p) { return at(2 * p + (little ? 0 : 1)); };
    const auto high = [&](std::size_t p) { return at(2 * p + (little ? 1 : 0)); };
    if (high(0) == 0 && low(0) != 0 && high(1) == 0 && low(1) != 0) {
      return {little ? Utf16Order::LittleEndian : Utf16Order::BigEndian, 0};
    }
  }
  return {};
}

std::string utf16ToUtf8(std::string_view bytes, Utf16Order order) {
  const bool little = order == Utf16Order::LittleEndian;
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(little ? (b << 8 | a) : (a << 8 | b));
  };
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  const auto put = [&out](char32_t c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t next = unit(i + 2);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        put(0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      out += kReplacement;
    } else {
      put(c);
    }
  }
  if (i < bytes.size()) out += kReplacement;
  return out;
}

EncodingGuess guessEncoding(std::string_view bytes) {
  EncodingSniffer sniffer;
  sniffer.feed(bytes);
  return sniffer.result();
}

#ifdef __EMSCRIPTEN__
// The WebAssembly build's C library has no CP932: it decodes through glibc's table instead.
struct LineDecoder::Iconv {};

LineDecoder::LineDecoder(Encoding encoding) : encoding_(encoding) {}
#else
struct LineDecoder::Iconv {
  iconv_t cd;
  Iconv() : cd(iconv_open("UTF-8", "CP932")) {
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("Shift-JIS (CP932) conversion is not available");
    }
  }
  ~Iconv() { iconv_close(cd); }
};

LineDecoder::LineDecoder(Encoding encoding) : encoding_(encoding) {
  if (encoding_ == Encoding::ShiftJis) iconv_ = std::make_unique<Iconv>();
}

#endif

LineDecoder::~LineDecoder() = default;

std::string LineDecoder::decode(std::string&& raw) {
  if (encoding_ != Encoding::ShiftJis) {
    bool wellFormed = true;
    for (std::size_t i = 0; i < raw.size() && wellFormed;) {
      const std::size_t len = text::utf8Length(raw, i);
      wellFormed = len != 0;
      i += len;
    }
    if (wellFormed) return std::move(raw);
  }
  return decode(std::string_view(raw));
}

std::string LineDecoder::decode(std::string_view raw) {
  std::string out;
  if (encoding_ != Encoding::ShiftJis) {  // UTF-8, and UTF-16 made UTF-8 on opening
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size();) {
      const std::size_t len = text::utf8Length(raw, i);
      if (len == 0) {
        out += kReplacement;
        ++i;
      } else {
        out.append(raw.substr(i, len));
        i += len;
      }
    }
    return out;
  }
#ifdef __EMSCRIPTEN__
  return cp932::decode(raw);
#else
  iconv(iconv_->cd, nullptr, nullptr, nullptr, nullptr);
  out.reserve(raw.size() * 3 / 2 + 4);
  char buffer[4096];
  char* in = const_cast<char*>(raw.data());
  std::size_t inLeft = raw.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(iconv_->cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a lead byte cut off at the end of the line): skip one byte.
      out += kReplacement;
      ++in;
      --inLeft;
      iconv(iconv_->cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
#endif
}

}  // namespace orvane
