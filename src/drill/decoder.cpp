#include "drill/decoder.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "core/text.hpp"

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

char32_t codePoint(std::string_view ch) {
  const auto b = [&](std::size_t k) {
    return static_cast<char32_t>(static_cast<unsigned char>(ch[k]));
  };
  switch (ch.size()) {
    case 1:
      return b(0);
    case 2:
      return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
      return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
      return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
  }
}
std::size_t expectedLength(unsigned char lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
}

}  // namespace

void EncodingSniffer::feed(std::string_view chunk) {
  if (head_.size() < kBom.size()) {
    head_.append(chunk.substr(0, kBom.size() - head_.size()));
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
    if (len > 1 && isJapanese(codePoint(bytes.substr(i, len)))) japanese_ = true;
    i += len;
  }
}

EncodingGuess EncodingSniffer::result() const {
  if (head_ == kBom) return {Encoding::Utf8, kBom.size()};
  if (valid_ && pending_.empty() && japanese_) return {Encoding::Utf8, 0};
  return {Encoding::ShiftJis, 0};
}

EncodingGuess guessEncoding(std::string_view bytes) {
  EncodingSniffer sniffer;
  sniffer.feed(bytes);
  return sniffer.result();
}

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

LineDecoder::~LineDecoder() = default;

std::string LineDecoder::decode(std::string_view raw) {
  std::string out;
  if (encoding_ == Encoding::Utf8) {
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
}

}  // namespace orvane
