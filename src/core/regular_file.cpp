#include "core/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/error.hpp"

namespace orvane {

namespace {
Error fileError(const std::string& path, int err) {
  return Error(path + ": " + std::strerror(err));
}
}  // namespace

RegularFile::RegularFile(const std::string& path) : path_(path) {
  // O_NONBLOCK: opening a FIFO that nobody writes returns at once instead of waiting for a
  // writer. It means nothing for the regular files that are then read.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) throw fileError(path, errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    const int err = errno;
    ::close(fd_);
    throw fileError(path, err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd_);
    throw fileError(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), size_(other.size_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    size_ = other.size_;
  }
  return *this;
}

std::size_t RegularFile::readAt(std::uint64_t offset, char* buffer, std::size_t n) const {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, buffer + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw fileError(path_, errno);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

}  // namespace orvane
