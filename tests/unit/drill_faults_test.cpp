#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/dispatcher.hpp"
#include "fake_platform.hpp"
#include "sim/recording_speech.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::string record(int n, const char* word) {
  return std::to_string(n) + "\r\nprompt " + std::to_string(n) + "\r\n" + word +
         "\r\n\r\n\r\n\r\n\r\n\r\n\r\n.\r\n";
}

class FileChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() / ("orvane-faults-" + std::to_string(::getpid()) + ".dat");
    std::ofstream(path_, std::ios::binary)
        << record(1, "One") << record(2, "Two") << record(3, "Three");
    speech_.onSay([this](const Utterance& u) { said_.emplace_back(u.text); });
    platform_.fileAnswer = path_.string();
    dispatcher_.menu(Menu::Open);
    ASSERT_FALSE(session_.quitRequested);
    ASSERT_EQ(said_.back(), "prompt 1");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove(path_, ec);
  }
  void nextQuestion() { dispatcher_.menu(Menu::NextQuestion); }

  fs::path path_;
  RecordingSpeech speech_{{{1041, "Japanese"}, {1033, "English"}}, 175, 80, 0};
  testing::FakePlatform platform_;
  Session session_{speech_, platform_};
  Dispatcher dispatcher_{session_};
  std::vector<std::string> said_;
};

TEST_F(FileChanges, AFileTruncatedDuringTheDrillDoesNotTearItsRecords) {
  fs::resize_file(path_, 5);
  nextQuestion();
  EXPECT_EQ(said_.back(), "prompt 2");
  EXPECT_EQ(session_.form.caption(Control::Word1), "Two");
  nextQuestion();
  EXPECT_EQ(said_.back(), "prompt 3");
  nextQuestion();
  EXPECT_TRUE(session_.form.visible(Control::End));
  EXPECT_TRUE(platform_.errors.empty());
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(FileChanges, AFileThatBecomesUnreadableOrVanishesLeavesTheDrillGoingOn) {
  fs::permissions(path_, fs::perms::none);
  nextQuestion();
  EXPECT_EQ(said_.back(), "prompt 2");
  fs::remove(path_);
  nextQuestion();
  EXPECT_EQ(said_.back(), "prompt 3");
  EXPECT_TRUE(platform_.errors.empty());
  EXPECT_FALSE(session_.quitRequested);
}

TEST_F(FileChanges, OpeningAFileThatHasGoneEndsTheProgramWithTheFileMessage) {
  fs::remove(path_);
  dispatcher_.menu(Menu::Open);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0], "ファイルの内容が正しくありません。");
  EXPECT_TRUE(session_.quitRequested);
}

}  // namespace
}  // namespace orvane
