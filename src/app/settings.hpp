// settings.ini: what each learner sets once, beside speech.ini in the current folder. UTF-8
// lines `key=value`; blank lines, comments (`#` or `;` first) and keys this build does not know
// are kept as they are when the file is saved. Every setting's default is the program's behaviour
// without the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class ScreenReaderMode { Auto, On, Off };

inline constexpr std::int32_t kMinZoom = 100;
inline constexpr std::int32_t kMaxZoom = 300;

struct Settings {
  bool autoScan = false;            // auto_scan: the scan is on from start
  std::int32_t scanPercent = 100;   // scan_percent: every scan interval, in percent of its own
  bool scanWaitsForSpeech = false;  // scan_waits_for_speech
  std::int32_t scanRounds = 0;      // scan_rounds: pause after this many rounds; 0 never
  std::int32_t switchGuardMs = 0;   // switch_guard_ms: presses closer than this are ignored
  bool speakVerdict = false;        // speak_verdict: right or wrong, and the final score, aloud
  std::int32_t zoom = 100;          // zoom: the window drawn at this many percent
  ScreenReaderMode screenReader = ScreenReaderMode::Auto;  // screen_reader
  std::string results;          // results: a record of every check (a file in this folder)
  bool reviewMissed = false;    // review_missed: the missed questions once more at the end
  bool keepRightWords = false;  // keep_right_words: Erase keeps the right beginning

  bool operator==(const Settings&) const = default;
};

// A value the program could not use: where it stood and what is used instead.
struct SettingsProblem {
  std::size_t line;  // 1-based
  std::string key;
  std::string value;
  std::string usedInstead;
};

struct SettingsFile {
  Settings values;
  std::vector<SettingsProblem> problems;
  // The file as read, line by line without line ends, to be kept on save.
  std::vector<std::string> lines;
  bool byteOrderMark = false;
  bool crlf = false;
};

// A results record's name as settings.ini takes it: a plain name in the current folder (or none).
bool usableResultsName(std::string_view name);

// The keys, in the order a new file lists them.
std::vector<std::string_view> settingKeys();

SettingsFile parseSettings(std::string_view contents);

// Reads `path`: a missing file gives every default and no problem. Throws Error when the file
// exists but cannot be read (a folder, a FIFO, a read error) or is too large to be settings.
SettingsFile readSettings(const std::string& path);

// The file's lines with every known key set to `values`: the line that counts for a key is
// rewritten in place, keys the file lacks are added at its end, and everything else is kept.
std::string formatSettings(const SettingsFile& file, const Settings& values);

// Writes `values` into `path` through the safe replacement and folder lock of saved files.
// Throws Error when it cannot. `file` is what was read (its comments and unknown keys stay).
void saveSettings(const std::string& path, const SettingsFile& file, const Settings& values);

// The one message that names every problem: the file, each line number and key, and what is used
// instead. Empty when there is none.
std::string settingsProblemsMessage(const std::string& path,
                                    const std::vector<SettingsProblem>& problems);

}  // namespace orvane
