#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app_harness.hpp"

namespace orvane {
namespace {

// Without toi.dat nothing loads, so the window is as it starts: the scripts see the buttons and
// labels, but not the mark label or the menu items a learner could reach.
TEST(StartUp, WithoutAQuestionFileNothingOfTheDrillIsOffered) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("orvane-start-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "speech.ini") << "0\r\n1\r\n2\r\n";
  testing::Harness h({{1041, "Japanese"}, {1033, "English"}});
  std::vector<std::string> said;
  h.speech.onSay([&](const Utterance& u) { said.emplace_back(u.text); });
  h.session.speechIniPath = (dir / "speech.ini").string();
  h.session.startFilePath = (dir / "toi.dat").string();
  h.dispatcher.startUp();
  fs::remove_all(dir);

  const Form& f = h.session.form;
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    const bool label = c == Control::Prompt || c == Control::Sentence || c == Control::Score;
    EXPECT_EQ(f.visible(c), label) << controlName(c);
  }
  EXPECT_FALSE(f.active().has_value());
  EXPECT_FALSE(f.menu(Menu::SpellOut).enabled);
  EXPECT_TRUE(f.menu(Menu::NextQuestion).enabled);
  EXPECT_FALSE(f.timer().enabled());
  EXPECT_TRUE(said.empty());
  EXPECT_TRUE(h.platform.messages.empty());
}

// speech.ini may name a speech server's voice (a number past the built-in ones): its server is
// wanted at start, and a voice that is not there after all is said once, with the one used.
TEST(StartUp, AServersVoiceIsSoughtAndOneMissingIsSaidOnce) {
  namespace fs = std::filesystem;
  struct Case {
    const char* ini;
    std::int32_t modes;  // the first two built in, the rest a server's
    int wanted;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"0\r\n1\r\n2\r\n", 3, 0, {}},
      {"0\r\n1\r\n3\r\n", 3, 1, {}},
      {"0\r\n-1\r\n0\r\n", 2, 0, {}},  // no voice named: the language picks one, as ever
      {"0\r\n1\r\n7\r\n",
       2,
       1,
       {"speech.ini の英語の声（7 番）は、このコンピュータにありません。\r2 "
        "番の「English」を使います。"}},
  };
  for (const Case& c : cases) {
    const fs::path dir =
        fs::temp_directory_path() / ("orvane-voices-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "speech.ini") << c.ini;
    std::vector<VoiceModeInfo> modes = {{1041, "Japanese"}, {1033, "English"}};
    if (c.modes > 2) modes.push_back({1033, "English (server)"});
    testing::Harness h(modes);
    h.speech.setBuiltInVoiceModes(2);
    h.session.speechIniPath = (dir / "speech.ini").string();
    h.session.startFilePath = (dir / "toi.dat").string();
    h.dispatcher.startUp();
    fs::remove_all(dir);
    EXPECT_EQ(h.speech.serverVoicesWanted, c.wanted) << c.ini;
    EXPECT_EQ(h.platform.messages, c.messages) << c.ini;
  }
}

}  // namespace
}  // namespace orvane
