#include "drill/decoder.hpp"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "drill/text.hpp"

namespace orvane {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
}  // namespace

EncodingGuess guessEncoding(std::string_view bytes) {
  if (bytes.substr(0, kBom.size()) == kBom) return {Encoding::Utf8, kBom.size()};
  if (text::hasNonAscii(bytes) && text::isValidUtf8(bytes)) return {Encoding::Utf8, 0};
  return {Encoding::ShiftJis, 0};
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
    for (std::string_view ch : text::characters(raw)) {
      if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) >= 0x80) {
        out += kReplacement;
      } else {
        out += ch;
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
