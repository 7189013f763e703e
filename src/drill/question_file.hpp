// The one question-file handle. A file is read whole when it is opened and then served line by
// line, so a file that changes or vanishes on disk during a drill cannot tear a record apart.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "drill/decoder.hpp"

namespace orvane {

class QuestionFile {
 public:
  // Files larger than this are refused as unreadable rather than read into memory.
  static constexpr std::size_t kMaxBytes = 256u * 1024 * 1024;

  QuestionFile();
  ~QuestionFile();

  // Opens `path` for reading; a file still open on the handle is closed first. Throws Error when
  // the file cannot be opened or read.
  void open(const std::string& path);
  // Opens text held in memory, as if read from a file (tests, fuzzing).
  void openBytes(std::string bytes);
  void close();
  bool isOpen() const { return open_; }

  // True at the end of the file, or where a line begins with Ctrl-Z (0x1A), the old end-of-file
  // mark. Throws the I/O error 104 when the handle is closed.
  bool atEnd() const;
  // Reads one line, CR LF or LF ended, lone CRs and NUL bytes dropped, decoded to UTF-8. Past the
  // end the line is empty. Throws the I/O error 104 when the handle is closed.
  std::string readLine();
  // True when nothing but empty or blank lines is left.
  bool restIsBlank() const;

  Encoding encoding() const;

 private:
  void requireOpen() const;

  bool open_ = false;
  std::string bytes_;
  std::size_t pos_ = 0;
  std::unique_ptr<LineDecoder> decoder_;
  Encoding encoding_ = Encoding::ShiftJis;
};

}  // namespace orvane
