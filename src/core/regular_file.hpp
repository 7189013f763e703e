// Reading a file that may be anything: a FIFO with no writer, a terminal or a device would hold
// the reader in open() or read() for good, and the window with it. Only regular files are read,
// and opening never waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

class RegularFile {
 public:
  // Opens `path` for reading. Throws Error ("PATH: reason") when it cannot be opened or is not a
  // regular file (a folder, FIFO, device or socket).
  explicit RegularFile(const std::string& path);
  ~RegularFile();
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // The file's size when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads up to `n` bytes at `offset`: fewer only at the end of the file. Throws Error on a read
  // error.
  std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t n) const;

 private:
  int fd_ = -1;
  std::string path_;
  std::uint64_t size_ = 0;
};

}  // namespace orvane
