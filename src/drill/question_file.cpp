#include "drill/question_file.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/error.hpp"

namespace orvane {

namespace {
constexpr char kCtrlZ = '\x1A';

std::string describe(const std::string& path, int err) {
  return path + ": " + std::strerror(err);
}
}  // namespace

QuestionFile::QuestionFile() = default;
QuestionFile::~QuestionFile() = default;

void QuestionFile::open(const std::string& path) {
  close();
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(describe(path, errno ? errno : ENOENT));
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxBytes) throw Error(describe(path, EFBIG));
  }
  if (in.bad() || (!in.eof())) throw Error(describe(path, errno ? errno : EIO));
  openBytes(std::move(bytes));
}

void QuestionFile::openBytes(std::string bytes) {
  close();
  const EncodingGuess guess = guessEncoding(bytes);
  decoder_ = std::make_unique<LineDecoder>(guess.encoding);
  encoding_ = guess.encoding;
  bytes_ = std::move(bytes);
  pos_ = guess.bomLength;
  open_ = true;
}

void QuestionFile::close() {
  open_ = false;
  bytes_.clear();
  bytes_.shrink_to_fit();
  pos_ = 0;
  decoder_.reset();
}

void QuestionFile::requireOpen() const {
  if (!open_) throw ioError(104);
}

bool QuestionFile::atEnd() const {
  requireOpen();
  return pos_ >= bytes_.size() || bytes_[pos_] == kCtrlZ;
}

std::string QuestionFile::readLine() {
  requireOpen();
  if (atEnd()) return {};
  const std::size_t lf = bytes_.find('\n', pos_);
  const std::size_t end = lf == std::string::npos ? bytes_.size() : lf;
  std::string raw;
  raw.reserve(end - pos_);
  for (std::size_t i = pos_; i < end; ++i) {
    // Lone CRs are dropped, and so are NUL bytes, which no text holds.
    if (bytes_[i] != '\r' && bytes_[i] != '\0') raw += bytes_[i];
  }
  pos_ = lf == std::string::npos ? bytes_.size() : lf + 1;
  return decoder_->decode(raw);
}

bool QuestionFile::restIsBlank() const {
  requireOpen();
  for (std::size_t i = pos_; i < bytes_.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes_[i]);
    if (c == kCtrlZ && (i == pos_ || bytes_[i - 1] == '\n')) return true;
    if (c > 0x20) return false;
  }
  return true;
}

Encoding QuestionFile::encoding() const {
  return encoding_;
}

}  // namespace orvane
