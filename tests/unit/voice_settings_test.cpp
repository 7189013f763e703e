#include <gtest/gtest.h>

#include "app/voice_settings.hpp"
#include "app_harness.hpp"
#include "core/error.hpp"

namespace orvane {
namespace {

using testing::Harness;

TEST(VoiceList, WithNoVoiceModesTheListingIsTheHeaderAndZero) {
  Harness h({});
  h.dispatcher.menu(Menu::VoiceCount);
  ASSERT_EQ(h.platform.messages.size(), 1u);
  EXPECT_EQ(h.platform.messages[0], "コンピュータにインストールされている声は 0種です。\r\r");
  h.dispatcher.menu(Menu::VoiceSettings);
  EXPECT_TRUE(h.session.dialog.open);
  // Both list every voice there is: a speech server's too, started if it is not running.
  EXPECT_EQ(h.speech.serverVoicesWanted, 2);
  EXPECT_TRUE(h.session.dialog.japaneseItems.empty());
  EXPECT_TRUE(h.session.dialog.englishItems.empty());
}

TEST(VoiceList, ASpeechServersThousandsOfVoicesAreCountedNotAllNamed) {
  std::vector<VoiceModeInfo> modes(20136, {1033, "English"});
  Harness h(modes);
  h.dispatcher.menu(Menu::VoiceCount);
  ASSERT_EQ(h.platform.messages.size(), 1u);
  const std::string& box = h.platform.messages[0];
  EXPECT_TRUE(box.starts_with(
      "コンピュータにインストールされている声は 20136種です。\r\r1) English 1033\r"));
  EXPECT_NE(box.find("\r300) English 1033\r…（ほか 19836 種）\r"), std::string::npos);
  EXPECT_EQ(box.find("301)"), std::string::npos);
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

}  // namespace
}  // namespace orvane
