#include "core/file_replacement.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "core/error.hpp"

namespace orvane {

namespace {
// Writes all of `contents` at the start of `fd`; 0 or the error number.
int writeAll(int fd, std::string_view contents) {
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n =
        ::pwrite(fd, contents.data() + done, contents.size() - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// Rewrites the file itself: its inode, owner, group, mode and links stay as they are. A kill in
// the middle can leave the new contents followed by the tail of the old ones, so this is only the
// fallback where a rename cannot keep what the user set up.
int rewriteInPlace(const std::string& target, const struct stat& expected,
                   std::string_view contents) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  int err = 0;
  if (::fstat(fd, &st) != 0) {
    err = errno;
  } else if (st.st_dev != expected.st_dev || st.st_ino != expected.st_ino) {
    err = EAGAIN;  // replaced under us: touch nothing
  } else {
    err = writeAll(fd, contents);
    if (err == 0 && ::ftruncate(fd, static_cast<off_t>(contents.size())) != 0) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
  }
  if (::close(fd) != 0 && err == 0) err = errno;
  return err;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Saves from several processes (two windows in one folder) take turns: each holds an advisory
// lock on the file's folder for the whole save, so none removes or renames another's file half
// written. The lock goes with a killed process. A folder that cannot be opened is saved in
// without it, as before.
class FolderLock {
 public:
  // How long a save waits for another to end before it gives up.
  static constexpr std::chrono::milliseconds kWait{2000};

  explicit FolderLock(const std::string& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) ||
          std::chrono::steady_clock::now() >= deadline) {
        busy_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // Another save held the folder for all of kWait.
  bool busy() const { return busy_; }

 private:
  int fd_;
  bool busy_ = false;
};
}  // namespace

std::string savingPath(const std::string& target) {
  return target + ".saving";
}

void writeFileReplacing(const std::string& path, std::string_view contents) {
  const auto fail = [&](const std::string& reason) {
    return Error(path + " を保存できません (" + reason + ")");
  };
  const auto failErrno = [&](int err) { return fail(std::strerror(err)); };
  // A link is followed to the file it names, so the link stays a link.
  std::string target = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved.string();
  }
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) throw failErrno(errno);
  if (exists) {
    // Only a regular file is ever replaced: never a device, FIFO or folder a link points at.
    if (!S_ISREG(st.st_mode)) throw fail("通常のファイルではありません");
    // A read-only file stays read-only, even for a user (root) whom the system would let write.
    if (::access(target.c_str(), W_OK) != 0) throw failErrno(errno);
    if ((st.st_mode & 0222) == 0) throw failErrno(EACCES);
  }

  const FolderLock lock(folderOf(target));
  if (lock.busy()) throw fail("別のウィンドウが保存しています");
  // The new contents go to a file beside the old one, which is then renamed over it: a kill at
  // any moment leaves the old lines or the new ones. One fixed name, so an interrupted save
  // leaves at most one such file, and the next save clears it.
  const std::string tmp = savingPath(target);
  ::unlink(tmp.c_str());
  const bool keepsLinks = !exists || st.st_nlink == 1;
  int fd = keepsLinks
               ? ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)
               : -1;
  if (fd < 0) {
    // Hard links, or a folder we may not write in: the file is rewritten where it is.
    if (!exists) throw failErrno(errno);
    if (const int err = rewriteInPlace(target, st, contents)) throw failErrno(err);
    return;
  }
  int err = 0;
  if (exists) {
    // The new file takes the old one's mode, owner and group; where the owner cannot be kept
    // (another user's file, writable to us through its group), the file is rewritten in place.
    if (::fchmod(fd, st.st_mode & 07777) != 0) err = errno;
    if (err == 0 && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
      ::close(fd);
      ::unlink(tmp.c_str());
      if (const int e = rewriteInPlace(target, st, contents)) throw failErrno(e);
      return;
    }
  }
  if (err == 0) err = writeAll(fd, contents);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && std::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmp.c_str());
    throw failErrno(err);
  }
  // The rename itself is made lasting too.
  if (const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace orvane
