#include "app/settings.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <optional>

#include "core/error.hpp"
#include "core/file_replacement.hpp"
#include "core/regular_file.hpp"
#include "core/text.hpp"

namespace orvane {

namespace {

// A settings file of more than this is no settings file: it is left alone, unread and unsaved.
constexpr std::uint64_t kMaxSettingsBytes = 64 * 1024;

enum class Kind { Flag, Number, ScreenReader, FileName };

struct Rule {
  std::string_view key;
  Kind kind;
  bool Settings::*flag = nullptr;
  std::int32_t Settings::*number = nullptr;
  std::int32_t min = 0, max = 0;
};

constexpr Rule kRules[] = {
    {"auto_scan", Kind::Flag, &Settings::autoScan},
    {"scan_percent", Kind::Number, nullptr, &Settings::scanPercent, 25, 400},
    {"scan_waits_for_speech", Kind::Flag, &Settings::scanWaitsForSpeech},
    {"scan_rounds", Kind::Number, nullptr, &Settings::scanRounds, 0, 1000},
    {"switch_guard_ms", Kind::Number, nullptr, &Settings::switchGuardMs, 0, 10000},
    {"speak_verdict", Kind::Flag, &Settings::speakVerdict},
    {"zoom", Kind::Number, nullptr, &Settings::zoom, kMinZoom, kMaxZoom},
    {"screen_reader", Kind::ScreenReader},
    {"results", Kind::FileName},
    {"review_missed", Kind::Flag, &Settings::reviewMissed},
    {"keep_right_words", Kind::Flag, &Settings::keepRightWords},
};

const Rule* ruleFor(std::string_view key) {
  for (const Rule& r : kRules) {
    if (r.key == key) return &r;
  }
  return nullptr;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<std::int32_t> decimal(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

constexpr std::string_view kScreenReaderNames[] = {"auto", "on", "off"};

// Sets the rule's setting from `value`; false when the value cannot be used.
bool apply(const Rule& r, std::string_view value, Settings& s) {
  switch (r.kind) {
    case Kind::Flag:
      if (value != "0" && value != "1") return false;
      s.*r.flag = value == "1";
      return true;
    case Kind::Number: {
      const auto v = decimal(value);
      if (!v || *v < r.min || *v > r.max) return false;
      s.*r.number = *v;
      return true;
    }
    case Kind::ScreenReader:
      for (std::size_t i = 0; i < std::size(kScreenReaderNames); ++i) {
        if (value == kScreenReaderNames[i]) {
          s.screenReader = static_cast<ScreenReaderMode>(i);
          return true;
        }
      }
      return false;
    case Kind::FileName:
      if (!usableResultsName(value)) return false;
      s.results = std::string(value);
      return true;
  }
  return false;
}

std::string valueText(const Rule& r, const Settings& s) {
  switch (r.kind) {
    case Kind::Flag:
      return s.*r.flag ? "1" : "0";
    case Kind::Number:
      return std::to_string(s.*r.number);
    case Kind::ScreenReader:
      return std::string(kScreenReaderNames[static_cast<std::size_t>(s.screenReader)]);
    case Kind::FileName:
      return s.results;
  }
  return {};
}

std::string allowed(const Rule& r) {
  switch (r.kind) {
    case Kind::Flag:
      return "0 か 1 のどちらか";
    case Kind::Number:
      return std::to_string(r.min) + "〜" + std::to_string(r.max) + " の数";
    case Kind::ScreenReader:
      return "auto, on, off のどれか";
    case Kind::FileName:
      return "このフォルダーのファイル名";
  }
  return {};
}

// The line's key and value when it sets a key; nothing for blank lines, comments and others.
std::optional<std::pair<std::string_view, std::string_view>> keyValue(std::string_view line) {
  const std::string_view t = trimBlanks(line);
  if (t.empty() || t.front() == '#' || t.front() == ';') return std::nullopt;
  const auto eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::pair{trimBlanks(t.substr(0, eq)), trimBlanks(t.substr(eq + 1))};
}

}  // namespace

bool usableResultsName(std::string_view name) {
  // A plain name in the current folder: never a path that writes elsewhere.
  return name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

std::vector<std::string_view> settingKeys() {
  std::vector<std::string_view> keys;
  for (const Rule& r : kRules) keys.push_back(r.key);
  return keys;
}

SettingsFile parseSettings(std::string_view contents) {
  SettingsFile file;
  if (contents.starts_with("\xEF\xBB\xBF")) {
    file.byteOrderMark = true;
    contents.remove_prefix(3);
  }
  file.crlf = contents.find("\r\n") != std::string_view::npos;
  while (!contents.empty()) {
    const auto nl = contents.find('\n');
    std::string_view line = contents.substr(0, nl);
    contents.remove_prefix(nl == std::string_view::npos ? contents.size() : nl + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    file.lines.emplace_back(line);
  }
  const Settings defaults;
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const auto kv = keyValue(file.lines[i]);
    if (!kv) continue;
    const Rule* rule = ruleFor(kv->first);
    if (!rule) continue;  // a key of another build: kept, not reported
    // A later line for the same key counts instead of an earlier one, problems included.
    std::erase_if(file.problems, [&](const SettingsProblem& p) { return p.key == rule->key; });
    if (!apply(*rule, kv->second, file.values)) {
      apply(*rule, valueText(*rule, defaults), file.values);
      file.problems.push_back(
          {i + 1, std::string(rule->key), std::string(kv->second), valueText(*rule, defaults)});
    }
  }
  return file;
}

SettingsFile readSettings(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) return {};
  const RegularFile file(path);
  if (file.size() > kMaxSettingsBytes) {
    throw Error(path + ": 設定ファイルとしては大きすぎます");
  }
  std::string contents(static_cast<std::size_t>(file.size()), '\0');
  contents.resize(file.readAt(0, contents.data(), contents.size()));
  return parseSettings(contents);
}

std::string formatSettings(const SettingsFile& file, const Settings& values) {
  std::vector<std::string> lines = file.lines;
  // The line that counts for each known key: the last one that sets it.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> lineOf(std::size(kRules), kNone);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto kv = keyValue(lines[i])) {
      if (const Rule* r = ruleFor(kv->first)) lineOf[static_cast<std::size_t>(r - kRules)] = i;
    }
  }
  for (std::size_t k = 0; k < std::size(kRules); ++k) {
    const std::string line = std::string(kRules[k].key) + "=" + valueText(kRules[k], values);
    if (lineOf[k] != kNone) {
      lines[lineOf[k]] = line;
    } else {
      lines.push_back(line);
    }
  }
  std::string out = file.byteOrderMark ? "\xEF\xBB\xBF" : "";
  for (const std::string& line : lines) out += line + (file.crlf ? "\r\n" : "\n");
  return out;
}

void saveSettings(const std::string& path, const SettingsFile& file, const Settings& values) {
  writeFileReplacing(path, formatSettings(file, values));
}

std::string settingsProblemsMessage(const std::string& path,
                                    const std::vector<SettingsProblem>& problems) {
  if (problems.empty()) return {};
  std::string text = path + " の設定のうち、使えないものがあります。";
  for (const SettingsProblem& p : problems) {
    const Rule& r = *ruleFor(p.key);
    const std::string instead = r.kind == Kind::FileName && p.usedInstead.empty()
                                    ? "記録しません"
                                    : p.usedInstead + " を使います";
    // A runaway value is named by its start.
    const std::string value(text::leadingChars(p.value, 40));
    text += "\r" + std::to_string(p.line) + " 行目 " + p.key + "=" + value + ": " + allowed(r) +
            "ではないので、" + instead + "。";
  }
  return text;
}

}  // namespace orvane
