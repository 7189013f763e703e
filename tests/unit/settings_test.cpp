#include "app/settings.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/error.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(Settings, EachKeyTakesItsValuesAndTheDefaultStandsForAnythingElse) {
  struct Case {
    const char* line;
    Settings expected;  // with the key at this value
    bool problem;
  };
  const auto with = [](auto change) {
    Settings s;
    change(s);
    return s;
  };
  const Case cases[] = {
      {"auto_scan=1", with([](Settings& s) { s.autoScan = true; }), false},
      {"  auto_scan = 0  ", Settings{}, false},
      {"auto_scan=yes", Settings{}, true},
      {"scan_percent=25", with([](Settings& s) { s.scanPercent = 25; }), false},
      {"scan_percent=+400", with([](Settings& s) { s.scanPercent = 400; }), false},
      {"scan_percent=401", Settings{}, true},
      {"scan_percent=24", Settings{}, true},
      {"scan_percent=1e2", Settings{}, true},
      {"scan_percent=99999999999", Settings{}, true},
      {"scan_percent=", Settings{}, true},
      {"scan_waits_for_speech=1", with([](Settings& s) { s.scanWaitsForSpeech = true; }), false},
      {"scan_rounds=3", with([](Settings& s) { s.scanRounds = 3; }), false},
      {"scan_rounds=-1", Settings{}, true},
      {"switch_guard_ms=250", with([](Settings& s) { s.switchGuardMs = 250; }), false},
      {"speak_verdict=1", with([](Settings& s) { s.speakVerdict = true; }), false},
      {"zoom=300", with([](Settings& s) { s.zoom = 300; }), false},
      {"zoom=99", Settings{}, true},
      {"screen_reader=off", with([](Settings& s) { s.screenReader = ScreenReaderMode::Off; }),
       false},
      {"screen_reader=on", with([](Settings& s) { s.screenReader = ScreenReaderMode::On; }), false},
      {"screen_reader=Orca", Settings{}, true},
      {"results=results.csv", with([](Settings& s) { s.results = "results.csv"; }), false},
      {"results=", Settings{}, false},
      {"results=../elsewhere.csv", Settings{}, true},
      {"review_missed=1", with([](Settings& s) { s.reviewMissed = true; }), false},
      {"keep_right_words=1", with([](Settings& s) { s.keepRightWords = true; }), false},
      // Not settings of this build, or not settings at all: kept, never reported.
      {"colour=blue", Settings{}, false},
      {"# auto_scan=1", Settings{}, false},
      {"; zoom=200", Settings{}, false},
      {"auto_scan", Settings{}, false},
  };
  for (const Case& c : cases) {
    const SettingsFile f = parseSettings(std::string("\n") + c.line + "\n");
    EXPECT_EQ(f.values, c.expected) << c.line;
    ASSERT_EQ(f.problems.size(), c.problem ? 1u : 0u) << c.line;
    if (c.problem) {
      EXPECT_EQ(f.problems[0].line, 2u) << c.line;
    }
  }
}

TEST(Settings, ALaterLineForAKeyCountsAndTheMessageNamesLineKeyAndWhatIsUsed) {
  const SettingsFile f = parseSettings("zoom=500\r\nzoom=150\r\nscan_percent=abc\r\n");
  EXPECT_EQ(f.values.zoom, 150);
  ASSERT_EQ(f.problems.size(), 1u);
  EXPECT_EQ(settingsProblemsMessage("settings.ini", f.problems),
            "settings.ini の設定のうち、使えないものがあります。\r"
            "3 行目 scan_percent=abc: 25〜400 の数ではないので、100 を使います。");
  EXPECT_EQ(settingsProblemsMessage("settings.ini", {}), "");
}

TEST(Settings, SavingRewritesKnownKeysInPlaceAndKeepsEverythingElse) {
  const SettingsFile f = parseSettings(
      "\xEF\xBB\xBF# 花子さんの設定\r\n\r\nzoom=200\r\ncolour=blue\r\n; note\r\nzoom=250\r\n");
  Settings changed = f.values;
  changed.zoom = 175;
  changed.autoScan = true;
  const std::string saved = formatSettings(f, changed);
  EXPECT_TRUE(saved.starts_with(
      "\xEF\xBB\xBF# 花子さんの設定\r\n\r\nzoom=200\r\ncolour=blue\r\n; note\r\nzoom=175\r\n"))
      << saved;
  EXPECT_NE(saved.find("\r\nauto_scan=1\r\n"), std::string::npos);
  // Read back, the saved file holds what was set and nothing to report.
  const SettingsFile back = parseSettings(saved);
  EXPECT_EQ(back.values, changed);
  EXPECT_TRUE(back.problems.empty());
  for (std::string_view key : settingKeys()) {
    EXPECT_NE(saved.find(std::string(key) + "="), std::string::npos) << key;
  }
}

TEST(Settings, AMissingFileIsEveryDefaultAndAFileThatIsNoSettingsIsAnError) {
  const fs::path dir = fs::temp_directory_path() / ("orvane-settings-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "settings.ini").string();
  const SettingsFile none = readSettings(path);
  EXPECT_EQ(none.values, Settings{});
  EXPECT_TRUE(none.lines.empty());

  Settings zoomed;
  zoomed.zoom = 125;
  saveSettings(path, none, zoomed);
  EXPECT_EQ(readSettings(path).values.zoom, 125);

  std::ofstream(path, std::ios::binary) << std::string(100'000, '#');
  EXPECT_THROW(readSettings(path), Error);
  fs::remove(path);
  fs::create_directory(path);
  EXPECT_THROW(readSettings(path), Error);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orvane
