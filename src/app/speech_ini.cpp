#include "app/speech_ini.hpp"

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

}  // namespace orvane
