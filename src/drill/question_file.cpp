#include "drill/question_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/error.hpp"

namespace orvane {

namespace {
constexpr char kCtrlZ = '\x1A';
constexpr std::size_t kChunkBytes = 64 * 1024;
}  // namespace

QuestionFile::QuestionFile() = default;
QuestionFile::~QuestionFile() = default;

void QuestionFile::open(const std::string& path) {
  close();
  RegularFile file(path);
  if (file.size() > kMaxBytes) throw Error(path + ": " + std::strerror(EFBIG));
  size_ = file.size();
  try {
    if (size_ <= kSnapshotBytes) {
      // Small enough to keep whole: a change on disk during the drill cannot tear a record.
      memory_.resize(size_);
      memory_.resize(file.readAt(0, memory_.data(), memory_.size()));
      size_ = memory_.size();
    } else {
      file_ = std::move(file);
    }
    start();
  } catch (...) {
    close();
    throw;
  }
}

void QuestionFile::openBytes(std::string bytes) {
  close();
  memory_ = std::move(bytes);
  size_ = memory_.size();
  start();
}

// Reads the file through once to tell its encoding, then stands at its first line.
void QuestionFile::start() {
  if (const Utf16Guess utf16 = guessUtf16(bytesAt(0).substr(0, 512));
      utf16.order != Utf16Order::None) {
    if (size_ > kMaxUtf16Bytes) {
      throw Error("UTF-16 の問題ファイルは " + std::to_string(kMaxUtf16Bytes >> 20) +
                  " MB までです。Shift-JIS か UTF-8 で保存してください");
    }
    std::string bytes;
    bytes.reserve(size_);
    for (std::uint64_t at = 0; at < size_;) {
      const std::string_view piece = bytesAt(at);
      if (piece.empty()) break;
      bytes.append(piece);
      at += piece.size();
    }
    memory_ = utf16ToUtf8(std::string_view(bytes).substr(utf16.bomLength), utf16.order);
    file_.reset();
    chunk_ = std::string();
    chunkStart_ = 0;
    size_ = memory_.size();
    decoder_ = std::make_unique<LineDecoder>(Encoding::Utf16);
    encoding_ = Encoding::Utf16;
    otherEncodingPossible_ = false;
    pos_ = 0;
    open_ = true;
    return;
  }
  EncodingSniffer sniffer;
  for (std::uint64_t at = 0; at < size_;) {
    const std::string_view piece = bytesAt(at);
    if (piece.empty()) break;
    sniffer.feed(piece);
    at += piece.size();
  }
  const EncodingGuess guess = sniffer.result();
  decoder_ = std::make_unique<LineDecoder>(guess.encoding);
  encoding_ = guess.encoding;
  otherEncodingPossible_ = guess.otherPossible;
  pos_ = guess.bomLength;
  open_ = true;
}

void QuestionFile::close() {
  open_ = false;
  file_.reset();
  memory_ = std::string();
  chunk_ = std::string();
  chunkStart_ = size_ = pos_ = scanned_ = 0;
  nonBlankAt_.reset();
  blankFrom_.reset();
  decoder_.reset();
}

void QuestionFile::requireOpen() const {
  if (!open_) throw ioError(104);
}

std::string_view QuestionFile::bytesAt(std::uint64_t offset) {
  if (offset >= size_) return {};
  if (!file_) return std::string_view(memory_).substr(offset);
  if (offset < chunkStart_ || offset >= chunkStart_ + chunk_.size()) {
    chunk_.resize(kChunkBytes);
    const std::size_t got = file_->readAt(offset, chunk_.data(), chunk_.size());
    chunk_.resize(got);
    chunkStart_ = offset;
    // A file cut short since it was opened ends where its bytes end.
    if (got == 0) size_ = offset;
  }
  return std::string_view(chunk_).substr(offset - chunkStart_);
}

bool QuestionFile::atEnd() {
  requireOpen();
  const std::string_view rest = bytesAt(pos_);
  return rest.empty() || rest.front() == kCtrlZ;
}

std::string QuestionFile::readLine() {
  requireOpen();
  if (atEnd()) return {};
  // Sized first, so that a line of any length is held once, not in a buffer grown by doubling.
  std::uint64_t length = 0;
  for (std::uint64_t at = pos_;;) {
    const std::string_view piece = bytesAt(at);
    const std::size_t lf = piece.find('\n');
    length += std::min(lf, piece.size());
    if (piece.empty() || lf != std::string_view::npos) break;
    at += piece.size();
  }
  std::string raw;
  raw.reserve(static_cast<std::size_t>(length));
  for (;;) {
    const std::string_view piece = bytesAt(pos_);
    if (piece.empty()) break;
    const std::size_t lf = piece.find('\n');
    const std::string_view part = piece.substr(0, lf);
    // Lone CRs are dropped, and so are NUL bytes, which no text holds.
    for (std::size_t i = 0; i < part.size();) {
      const std::size_t stop = part.find_first_of(std::string_view("\r\0", 2), i);
      raw.append(part.substr(i, stop - i));
      if (stop == std::string_view::npos) break;
      i = stop + 1;
    }
    pos_ += part.size();
    if (lf != std::string_view::npos) {
      ++pos_;
      break;
    }
  }
  return decoder_->decode(std::move(raw));
}

bool QuestionFile::restIsBlank() {
  requireOpen();
  // The file does not change under its handle: a byte found not blank at an offset at or after
  // the reading position, or blanks only from an offset at or before it, still tell.
  if (nonBlankAt_ && *nonBlankAt_ >= pos_) return false;
  if (blankFrom_ && *blankFrom_ <= pos_) return true;
  bool lineStart = true;
  for (std::uint64_t at = pos_;;) {
    const std::string_view piece = bytesAt(at);
    if (piece.empty()) {
      blankFrom_ = pos_;
      return true;
    }
    for (const char ch : piece) {
      ++scanned_;
      const auto c = static_cast<unsigned char>(ch);
      if (c == kCtrlZ && lineStart) {  // the old end-of-file mark
        blankFrom_ = pos_;
        return true;
      }
      if (c > 0x20) {
        nonBlankAt_ = at;
        return false;
      }
      lineStart = c == '\n';
      ++at;
    }
  }
}

Encoding QuestionFile::encoding() const {
  return encoding_;
}

}  // namespace orvane
