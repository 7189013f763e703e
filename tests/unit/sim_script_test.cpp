#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/transcript.hpp"
#include "sim/runner.hpp"
#include "sim/script.hpp"

namespace orvane::sim {
namespace {

std::optional<ParseError> errorOf(const char* line) {
  std::optional<ParseError> error;
  (void)parseLine(line, 7, error);
  return error;
}

TEST(SimScript, CommentsAndBlankLinesAreSkipped) {
  std::optional<ParseError> error;
  EXPECT_FALSE(parseLine("   # a comment", 1, error).has_value());
  EXPECT_FALSE(parseLine("\t\r", 2, error).has_value());
  EXPECT_FALSE(error.has_value());
}

TEST(SimScript, ArgumentsAreTakenWhole) {
  std::optional<ParseError> error;
  const auto voice = parseLine("voice 2057 English (Great Britain)", 1, error);
  ASSERT_TRUE(voice);
  EXPECT_EQ(voice->a, 2057);
  EXPECT_EQ(voice->arg, "English (Great Britain)");
  const auto open = parseLine("open my questions.dat", 1, error);
  ASSERT_TRUE(open);
  EXPECT_EQ(open->op, Op::Open);
  EXPECT_EQ(open->arg, "my questions.dat");
  EXPECT_EQ(parseLine("open cancel", 1, error)->op, Op::OpenCancel);
  const auto select = parseLine("dialog select ListBox2 3", 1, error);
  ASSERT_TRUE(select);
  EXPECT_EQ(select->a, 2);
  EXPECT_EQ(select->b, 3);
  EXPECT_FALSE(error.has_value());
}

TEST(SimScript, MalformedLinesAreNamed) {
  for (const char* bad : {"jump", "voice x Japanese", "voice 1041", "rate 175",
                          "rate a b", "wait -1", "wait 86400001", "wait soon", "tick 3",
                          "dialog select ListBox3 0", "dialog close", "show", "click",
                          // numbers outside 32 bits are refused, never cut down
                          "voice 4294968337 Japanese", "rate 175 4294967376",
                          "lasterror 2147483648", "dialog select ListBox1 4294967296"}) {
    const auto error = errorOf(bad);
    ASSERT_TRUE(error.has_value()) << bad;
    EXPECT_EQ(error->line, 7u);
    EXPECT_FALSE(error->message.empty());
  }
  EXPECT_FALSE(errorOf("wait 86400000").has_value());
}

// Runs in a folder of its own with a speech.ini, as the program would.
class SimRunner : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("orvane-sim-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "speech.ini", std::ios::binary) << "0\r\n1\r\n2\r\n";
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path old_, dir_;
};

TEST_F(SimRunner, AMalformedLineStopsTheRunThereAfterWhatCameBefore) {
  std::istringstream script("voice 1041 Japanese\nstart\nshow focus\nfly away\nshow timer\n");
  std::ostringstream out;
  const RunResult result = run(script, out, "/nonexistent/orvane");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.errorLine, 4u);
  EXPECT_EQ(out.str(), "focus none\n");
}

TEST_F(SimRunner, OnlyACommentMayBeLongerThanALineIsKept) {
  const std::string huge(1024 * 1024, 'x');
  std::istringstream script("# " + huge + "\nstart\nopen " + huge + "\nshow timer\n");
  std::ostringstream out;
  const RunResult result = run(script, out, "/nonexistent/orvane");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.errorLine, 3u);
  EXPECT_NE(result.error.find("longer"), std::string::npos) << result.error;
}

TEST_F(SimRunner, VoiceModesAreBoundedSoAnyScriptRunsInTheSameMemory) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"voice 1041 " + std::string(257, 'x') + "\n", 1u},  // a title past 256 bytes
      {[] {
         std::string many;
         for (int i = 0; i < 1001; ++i) many += "voice 1033 English\n";
         return many;
       }(),
       1001u},  // the 1001st voice
  };
  for (const auto& [script, errorLine] : cases) {
    std::istringstream in(script + "start\n");
    std::ostringstream out;
    const RunResult result = run(in, out, "/nonexistent/orvane");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorLine, errorLine) << result.error;
  }
  std::istringstream fine("voice 1041 " + std::string(256, 'x') + "\nstart\n");
  std::ostringstream out;
  EXPECT_TRUE(run(fine, out, "/nonexistent/orvane").ok);
}

TEST_F(SimRunner, SetUpCommandsMustComeBeforeStart) {
  std::istringstream script("start\nrate 100 80\n");
  std::ostringstream out;
  const RunResult result = run(script, out, "/nonexistent/orvane");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.errorLine, 2u);
}

TEST(Transcript, QuotesBackslashQuoteAndLineBreaksAndHexesOtherControls) {
  EXPECT_EQ(transcript::quote("a\\b\"c\rd\ne"), "\"a\\\\b\\\"c\\rd\\ne\"");
  // A question file's escape sequences never reach the terminal: C0, DEL and C1 controls.
  EXPECT_EQ(transcript::quote("\x1B]0;owned\x07\t\x7F"), R"("\x1B]0;owned\x07\x09\x7F")");
  EXPECT_EQ(transcript::quote("\xC2\x9B"
                              "31m \xC2\xA0\xC3\x9B"),
            R"("\xC2\x9B31m )"
            "\xC2\xA0\xC3\x9B\"");
  EXPECT_EQ(transcript::say({"私", 1, 175}), "say mode=1 speed=175 \"私\"");
}

}  // namespace
}  // namespace orvane::sim
