#include <gtest/gtest.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "app/dispatcher.hpp"
#include "app/menu_commands.hpp"
#include "app/voice_settings.hpp"
#include "core/error.hpp"
#include "fake_platform.hpp"
#include "sim/recording_speech.hpp"

namespace orvane {
namespace {

struct Harness {
  explicit Harness(std::vector<VoiceModeInfo> modes) : speech(std::move(modes), 175, 80, 0) {}
  RecordingSpeech speech;
  testing::FakePlatform platform;
  Session session{speech, platform};
  Dispatcher dispatcher{session};
};

TEST(VoiceList, WithNoVoiceModesTheListingIsTheHeaderAndZero) {
  Harness h({});
  h.dispatcher.menu(Menu::VoiceCount);
  ASSERT_EQ(h.platform.messages.size(), 1u);
  EXPECT_EQ(h.platform.messages[0], "コンピュータにインストールされている声は 0種です。\r\r");
  h.dispatcher.menu(Menu::VoiceSettings);
  EXPECT_TRUE(h.session.dialog.open);
  EXPECT_TRUE(h.session.dialog.japaneseItems.empty());
  EXPECT_TRUE(h.session.dialog.englishItems.empty());
}

TEST(VoiceDialog, OffersAtMostFiftyVoicesOfALanguageAndStillOpens) {
  std::vector<VoiceModeInfo> modes;
  for (int i = 0; i < 53; ++i) modes.push_back({1033, "English " + std::to_string(i + 1)});
  modes.push_back({1041, "Japanese"});
  Harness h(modes);
  h.session.voices.englishVoiceMode = 52;  // beyond the fifty offered: nothing preselected
  h.session.voices.japaneseVoiceMode = 54;
  h.dispatcher.menu(Menu::VoiceSettings);
  EXPECT_TRUE(h.platform.errors.empty());
  EXPECT_TRUE(h.session.dialog.open);
  ASSERT_EQ(h.session.dialog.englishItems.size(), 50u);
  EXPECT_EQ(h.session.dialog.englishItems.back(), "50) English 50");
  EXPECT_EQ(h.session.dialog.selected2, -1);
  // Voices after the limit are still looked at: the Japanese one comes last and is offered.
  ASSERT_EQ(h.session.dialog.japaneseItems.size(), 1u);
  EXPECT_EQ(h.session.dialog.japaneseItems[0], "54) Japanese");
  EXPECT_EQ(h.session.dialog.selected1, 0);
}

// A speech adapter whose voice queries fail part-way.
class FailingTitles : public RecordingSpeech {
 public:
  using RecordingSpeech::RecordingSpeech;
  std::string voiceModeTitle(std::int32_t mode) override {
    if (mode == 2) throw Error("音声エンジンの応答がありません");
    return RecordingSpeech::voiceModeTitle(mode);
  }
};

TEST(VoiceDialog, AFailureWhileFillingKeepsWhatWasAddedAndIsNotRepeated) {
  FailingTitles speech({{1041, "Japanese"}, {1033, "English"}, {1033, "English 2"}}, 175, 80, 0);
  testing::FakePlatform platform;
  Session session(speech, platform);
  Dispatcher dispatcher(session);
  dispatcher.menu(Menu::VoiceSettings);
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0], "音声エンジンの応答がありません.");
  EXPECT_FALSE(session.dialog.open);
  EXPECT_EQ(session.dialog.japaneseItems.size(), 1u);
  dispatcher.menu(Menu::VoiceSettings);
  EXPECT_TRUE(session.dialog.open);
  EXPECT_EQ(session.dialog.japaneseItems.size(), 1u);
  EXPECT_TRUE(session.dialog.englishItems.empty());
  EXPECT_EQ(platform.errors.size(), 1u);
}

TEST(HelpFile, IsNamedLikeTheProgramBesideIt) {
  EXPECT_EQ(helpFilePath("/opt/orvane/bin/orvane"), "/opt/orvane/bin/orvane.hlp");
  EXPECT_EQ(helpFilePath("/opt/x.y/orvane.bin"), "/opt/x.y/orvane.hlp");
  Harness h({});
  h.dispatcher.menu(Menu::HelpContents);
  EXPECT_EQ(h.platform.helpPaths, std::vector<std::string>{"/opt/orvane/bin/orvane.hlp"});
}

TEST(HelpFile, BesideTheProgramFirstThenWithTheInstalledData) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("orvane-help-" + std::to_string(::getpid()));
  fs::create_directories(root / "bin");
  fs::create_directories(root / "share" / "orvane");
  const std::string program = (root / "bin" / "orvane").string();
  std::ofstream((root / "share" / "orvane" / "orvane.hlp").string()) << "installed";
  EXPECT_EQ(helpFilePath(program), (root / "share" / "orvane" / "orvane.hlp").string());
  std::ofstream((root / "bin" / "orvane.hlp").string()) << "beside";
  EXPECT_EQ(helpFilePath(program), (root / "bin" / "orvane.hlp").string());
  fs::remove_all(root);
}

TEST(Dispatcher, ScanStepsReadTheModifiersHeldWhenTheyAreHandled) {
  Harness h({});
  Form& f = h.session.form;
  f.show(Control::Start);
  f.show(Control::Next);
  f.show(Control::Answer);
  h.dispatcher.menu(Menu::AutoScan);
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Start);
  h.platform.held.shift = true;
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Answer);
  h.platform.held = {false, true, false};
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Answer);
  h.platform.held = {};
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Start);
}

TEST(Dispatcher, ATickIsDroppedWhileTheScanIsOff) {
  Harness h({});
  h.session.form.show(Control::Start);
  h.dispatcher.tick();
  EXPECT_FALSE(h.session.form.active().has_value());
  EXPECT_TRUE(h.session.postedKeys.empty());
}

}  // namespace
}  // namespace orvane
