#include "speech/speech_ini.hpp"

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
#include "core/regular_file.hpp"

namespace orvane {

namespace {
int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Error malformed() {
  return Error("speech.ini の内容が正しくありません");
}
}  // namespace

std::optional<std::int32_t> parseIniInteger(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return std::nullopt;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    const int d = digitValue(s[i], hex);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + d;
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

namespace {
// Line 1 is skipped whatever its length; lines 2 and 3 are read as the number they hold whatever
// their length. Only what matters to the number is kept: one blank for any run of leading
// blanks, two zeros for any run of leading zeros; a line with more than that to keep is no
// integer. Lines after the third are never read.
class SpeechIniScanner {
 public:
  // False once the third line has ended: nothing further matters.
  bool feed(std::string_view piece) {
    for (const char c : piece) {
      if (c == '\n') {
        if (++line_ == 3) return false;
      } else if (c != '\r' && line_ >= 1) {
        keep(lines_[line_ - 1], c);
      }
    }
    return true;
  }

  SpeechIni result() const {
    const auto jp = tooLong_[0] ? std::nullopt : parseIniInteger(lines_[0]);
    const auto en = tooLong_[1] ? std::nullopt : parseIniInteger(lines_[1]);
    if (!jp || !en) throw malformed();
    return {*jp, *en};
  }

 private:
  static bool isBlank(char c) { return c == ' ' || c == '\t'; }

  // True when the digits kept so far are two or more leading zeros.
  static bool inLeadingZeros(std::string_view kept) {
    while (!kept.empty() && isBlank(kept.front())) kept.remove_prefix(1);
    if (!kept.empty() && (kept.front() == '+' || kept.front() == '-')) kept.remove_prefix(1);
    if (kept.starts_with("0x") || kept.starts_with("0X")) {
      kept.remove_prefix(2);
    } else if (!kept.empty() &&
               (kept.front() == '$' || kept.front() == 'x' || kept.front() == 'X')) {
      kept.remove_prefix(1);
    }
    return kept.size() >= 2 && kept.find_first_not_of('0') == std::string_view::npos;
  }

  void keep(std::string& kept, char c) {
    const bool onlyBlanks = kept.find_first_not_of(" \t") == std::string::npos;
    if (isBlank(c) && onlyBlanks && !kept.empty()) return;
    if (c == '0' && inLeadingZeros(kept)) return;
    if (kept.size() >= kLongestInteger) {
      tooLong_[line_ - 1] = true;
      return;
    }
    kept += c;
  }

  static constexpr std::size_t kLongestInteger = 64;
  int line_ = 0;
  std::string lines_[2];
  bool tooLong_[2] = {false, false};
};
}  // namespace

SpeechIni parseSpeechIni(std::string_view contents) {
  SpeechIniScanner scanner;
  scanner.feed(contents);
  return scanner.result();
}

SpeechIni readSpeechIni(const std::string& path) {
  const RegularFile file(path);
  SpeechIniScanner scanner;
  char buffer[4096];
  for (std::uint64_t at = 0;;) {
    const std::size_t got = file.readAt(at, buffer, sizeof buffer);
    if (got == 0 || !scanner.feed(std::string_view(buffer, got))) break;
    at += got;
  }
  return scanner.result();
}

std::string formatSpeechIni(std::int32_t reserved, const SpeechIni& ini) {
  return std::to_string(reserved) + "\r\n" + std::to_string(ini.japaneseVoiceMode) + "\r\n" +
         std::to_string(ini.englishVoiceMode) + "\r\n";
}

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
// the middle can leave the new lines followed by the tail of the old ones; the lines after the
// third are never read.
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
  if (lock.busy()) throw failErrno(EBUSY);
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
