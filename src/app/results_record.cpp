#include "app/results_record.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/error.hpp"
#include "core/text.hpp"

namespace orvane {

namespace {

const char* verdictText(Verdict v) {
  switch (v) {
    case Verdict::Right:
      return "○";
    case Verdict::Wrong:
      return "×";
    case Verdict::Skipped:
      return "スキップ";
    case Verdict::AnswerShown:
      return "答え";
  }
  return "";
}

// A file descriptor closed on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

Error recordError(const std::string& path, int err) {
  return Error(path + ": " + std::strerror(err));
}

}  // namespace

std::string csvField(std::string_view text) {
  if (text.find_first_of("\",\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string csvRow(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += csvField(fields[i]);
  }
  return out + "\r\n";
}

std::string isoLocalTime(std::int64_t localMs) {
  using namespace std::chrono;
  const sys_seconds t{floor<seconds>(milliseconds(localMs))};
  const sys_days day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss<seconds> time{t - day};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02lld", int(ymd.year()),
                unsigned(ymd.month()), unsigned(ymd.day()), long(time.hours().count()),
                long(time.minutes().count()), static_cast<long long>(time.seconds().count()));
  return text;
}

std::string resultsHeader() {
  return csvRow({"日時", "ファイル", "問題", "回", "問い", "答え", "正答", "判定", "秒"});
}

void appendResultsRow(const std::string& path, const std::string& row) {
  // Never through a link, never into a device or a FIFO: the record is a plain file here.
  Descriptor file{::open(
      path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644)};
  if (file.fd < 0) throw recordError(path, errno);
  struct stat st {};
  if (::fstat(file.fd, &st) != 0) throw recordError(path, errno);
  if (!S_ISREG(st.st_mode)) throw recordError(path, EINVAL);
  // One write for the whole row (and the header of a new file), so that no other row can come
  // between its parts.
  const std::string bytes = st.st_size == 0 ? "\xEF\xBB\xBF" + resultsHeader() + row : row;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(file.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw recordError(path, n < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  if (::fdatasync(file.fd) != 0) throw recordError(path, errno);
}

void recordAttempt(Session& s, const CheckedAttempt& a) {
  const std::string& path = s.settings.values.results;
  if (path.empty() || !a.question || s.resultsFailed) return;
  const std::int64_t now = s.platform.localTimeMs();
  const std::int64_t tenths = std::max<std::int64_t>(0, now - s.questionShownAtMs) / 100;
  const std::string seconds = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  const std::string row =
      csvRow({isoLocalTime(now), std::filesystem::path(s.lessonPath).filename().string(),
              std::to_string(a.question->number), std::to_string(a.round), a.question->prompt,
              a.sentence, a.answer, verdictText(a.verdict), seconds});
  try {
    appendResultsRow(path, row);
  } catch (const std::exception& e) {
    s.resultsFailed = true;
    showMessage(s, std::string(e.what()) + "\r結果を記録できません。ドリルは続けられます。");
  }
}

}  // namespace orvane
