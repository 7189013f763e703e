// drill/: question files and the drill's state: reading and decoding the ten-line records,
// checking them for teachers, shuffling the words. Stands on core/ only.
//
// The one question-file handle. A file of ordinary size is read whole when it is opened, so a
// change on disk during the drill cannot tear a record apart. A larger one is read a piece at a
// time as the drill asks for its lines, so it costs memory only for the line being read; its
// handle stays open, so it reads on as it was when renamed or deleted during the drill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/regular_file.hpp"
#include "drill/decoder.hpp"

namespace orvane {

class QuestionFile {
 public:
  // Files larger than this are refused as unreadable.
  static constexpr std::size_t kMaxBytes = 256u * 1024 * 1024;
  // Files up to this size are read whole when opened.
  static constexpr std::size_t kSnapshotBytes = 1024 * 1024;
  // A UTF-16 file is made UTF-8 whole as it is opened: one larger than this is refused.
  static constexpr std::size_t kMaxUtf16Bytes = 32u * 1024 * 1024;

  QuestionFile();
  ~QuestionFile();

  // Opens `path` for reading; a file still open on the handle is closed first. Throws Error when
  // the file cannot be opened or read, or is not a regular file.
  void open(const std::string& path);
  // Opens text held in memory, as if read from a file (tests, fuzzing).
  void openBytes(std::string bytes);
  void close();
  bool isOpen() const { return open_; }

  // True at the end of the file, or where a line begins with Ctrl-Z (0x1A), the old end-of-file
  // mark. Throws the I/O error 104 when the handle is closed.
  bool atEnd();
  // Reads one line, CR LF or LF ended, lone CRs and NUL bytes dropped, decoded to UTF-8. Past the
  // end the line is empty. Throws the I/O error 104 when the handle is closed.
  std::string readLine();
  // The reading position, to come back to with seek() and read the same lines again (the
  // checker looks ahead). Always at the start of a line.
  std::uint64_t tell() const { return pos_; }
  void seek(std::uint64_t position) { pos_ = position; }
  // True when nothing but empty or blank lines is left. What one call finds is kept, so a run of
  // empty lines asks about the same rest in constant time: reading a file stays linear.
  bool restIsBlank();
  // The bytes restIsBlank has looked at since the file was opened (each at most once).
  std::uint64_t bytesScannedForBlanks() const { return scanned_; }

  Encoding encoding() const;
  // True when the file read without a fault in the other encoding too: the choice was close.
  bool otherEncodingPossible() const { return otherEncodingPossible_; }

 private:
  void requireOpen() const;
  // The bytes from `offset` on that are at hand (at least one unless at the end).
  std::string_view bytesAt(std::uint64_t offset);
  void start();

  bool open_ = false;
  std::optional<RegularFile> file_;
  std::string memory_;  // the text of openBytes
  std::string chunk_;   // a piece of the file, read at chunkStart_
  std::uint64_t chunkStart_ = 0;
  std::uint64_t size_ = 0;
  std::uint64_t pos_ = 0;
  std::unique_ptr<LineDecoder> decoder_;
  Encoding encoding_ = Encoding::ShiftJis;
  bool otherEncodingPossible_ = false;
  // What restIsBlank found: a byte that is not blank at this offset, or only blanks from here.
  std::optional<std::uint64_t> nonBlankAt_, blankFrom_;
  std::uint64_t scanned_ = 0;
};

}  // namespace orvane
