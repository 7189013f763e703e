#include "speech/speech_ini.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/error.hpp"

namespace orvane {

namespace {
int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<std::string> splitLines(std::string_view contents) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : contents) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
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

SpeechIni parseSpeechIni(std::string_view contents) {
  const std::vector<std::string> lines = splitLines(contents);
  if (lines.size() < 3) throw malformed();
  const auto jp = parseIniInteger(lines[1]);
  const auto en = parseIniInteger(lines[2]);
  if (!jp || !en) throw malformed();
  return {*jp, *en};
}

SpeechIni readSpeechIni(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(path + ": " + std::strerror(errno ? errno : ENOENT));
  // Only the first lines matter; a huge file is not read in full.
  constexpr std::size_t kEnough = 1024 * 1024;
  std::string contents(kEnough, '\0');
  in.read(contents.data(), static_cast<std::streamsize>(kEnough));
  if (in.bad()) throw Error(path + ": " + std::strerror(errno ? errno : EIO));
  contents.resize(static_cast<std::size_t>(in.gcount()));
  return parseSpeechIni(contents);
}

std::string formatSpeechIni(std::int32_t reserved, const SpeechIni& ini) {
  return std::to_string(reserved) + "\r\n" + std::to_string(ini.japaneseVoiceMode) + "\r\n" +
         std::to_string(ini.englishVoiceMode) + "\r\n";
}

void writeFileReplacing(const std::string& path, std::string_view contents) {
  const auto fail = [&](int err) {
    return Error(path + " を保存できません (" + std::strerror(err) + ")");
  };
  // A file that is a link is replaced where the link points, so the link stays a link.
  std::string target = path;
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved.string();
  }
  // The new file keeps the old one's permissions; a new settings file is as readable as any
  // file the user writes (mkstemp alone would make it 0600).
  mode_t mode = 0;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  std::string tmp = target + ".XXXXXX";
  const int fd = mkstemp(tmp.data());
  if (fd < 0) throw fail(errno);
  fchmod(fd, mode);
  const char* p = contents.data();
  std::size_t left = contents.size();
  int err = 0;
  while (left > 0 && err == 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno != EINTR) err = errno;
    } else {
      p += n;
      left -= static_cast<std::size_t>(n);
    }
  }
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && std::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmp.c_str());
    throw fail(err);
  }
}

}  // namespace orvane
