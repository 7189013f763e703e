#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/voice_settings.hpp"
#include "core/error.hpp"
#include "speech/speech_ini.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(IniInteger, AcceptsDecimalAndHexForms) {
  EXPECT_EQ(parseIniInteger("3"), 3);
  EXPECT_EQ(parseIniInteger("  -12"), -12);
  EXPECT_EQ(parseIniInteger("+7"), 7);
  EXPECT_EQ(parseIniInteger("$1F"), 31);
  EXPECT_EQ(parseIniInteger("x10"), 16);
  EXPECT_EQ(parseIniInteger("0Xff"), 255);
  EXPECT_EQ(parseIniInteger("-$10"), -16);
  EXPECT_EQ(parseIniInteger("007"), 7);
  EXPECT_EQ(parseIniInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseIniInteger("-2147483648"), -2147483647 - 1);
}

TEST(IniInteger, RejectsAnythingElse) {
  for (const char* bad : {"", " ", "3a", "3 ", "-", "$", "0x", "1.5", "２", "2147483648",
                          "-2147483649", "99999999999999999999", "+-1"}) {
    EXPECT_FALSE(parseIniInteger(bad).has_value()) << '"' << bad << '"';
  }
}

TEST(SpeechIniFile, ReadsLinesTwoAndThreeAndIgnoresTheRest) {
  const SpeechIni ini = parseSpeechIni("0\r\n3\r\n5\r\nanything\r\n");
  EXPECT_EQ(ini.japaneseVoiceMode, 3);
  EXPECT_EQ(ini.englishVoiceMode, 5);
  // Line 1 may hold any text, or none.
  EXPECT_EQ(parseSpeechIni("\n1\n2").englishVoiceMode, 2);
  EXPECT_EQ(parseSpeechIni("reserved words\r\n-1\r\n99").japaneseVoiceMode, -1);
}

TEST(SpeechIniFile, MissingOrBadLinesAreErrors) {
  EXPECT_THROW(parseSpeechIni(""), Error);
  EXPECT_THROW(parseSpeechIni("0\r\n3\r\n"), Error);
  EXPECT_THROW(parseSpeechIni("0\r\n3a\r\n5\r\n"), Error);
  EXPECT_THROW(parseSpeechIni("0\r\n\r\n5\r\n"), Error);
  EXPECT_THROW(readSpeechIni("/nonexistent/speech.ini"), Error);
}

TEST(SpeechIniFile, ALineOfAnyLengthIsTheNumberItHoldsNeverACutOne) {
  const std::string zeros(66, '0'), blanks(100, ' ');
  const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
      {zeros + "2", 2},
      {blanks + "3", 3},
      {"-" + zeros + "7", -7},
      {"0x" + zeros + "1F", 31},
      {blanks + "-" + zeros + "12", -12},
      {zeros + "x5", std::nullopt},  // zeros before a hex sign: no integer, however many
      {"1" + zeros, std::nullopt},   // 67 digits: far past any integer
      {zeros + "2a", std::nullopt},
      {zeros, 0},
  };
  for (const auto& [line, expected] : cases) {
    const std::string file = "0\n" + line + "\n1\n";
    if (expected) {
      EXPECT_EQ(parseSpeechIni(file).japaneseVoiceMode, *expected) << line;
    } else {
      EXPECT_THROW(parseSpeechIni(file), Error) << line;
    }
  }
}

TEST(SpeechIniFile, FormatIsThreeCrLfLines) {
  EXPECT_EQ(formatSpeechIni(0, {3, 5}), "0\r\n3\r\n5\r\n");
  EXPECT_EQ(formatSpeechIni(0, {-1, 99}), "0\r\n-1\r\n99\r\n");
}

class ReplaceFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("orvane-ini-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "speech.ini").string();
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  std::string contents() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir_;
  std::string path_;
};

TEST_F(ReplaceFile, WritesNewContentsAndLeavesNoTemporaryBehind) {
  writeFileReplacing(path_, "0\r\n1\r\n2\r\n");
  writeFileReplacing(path_, "0\r\n3\r\n4\r\n");
  EXPECT_EQ(contents(), "0\r\n3\r\n4\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ReplaceFile, AFailedWriteLeavesTheOldFileIntact) {
  writeFileReplacing(path_, "0\r\n1\r\n2\r\n");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
  // Root may write into read-only folders: the attempt is made by an unprivileged child then.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    try {
      writeFileReplacing(path_, "0\r\n9\r\n9\r\n");
    } catch (const Error&) {
      ::_exit(0);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write into a read-only folder did not fail";
  EXPECT_EQ(contents(), "0\r\n1\r\n2\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ReplaceFile, AFolderInTheWayIsReportedAndKept) {
  fs::create_directories(path_);
  fs::create_directories(fs::path(path_) / "keep");
  EXPECT_THROW(writeFileReplacing(path_, "0\r\n1\r\n2\r\n"), Error);
  EXPECT_TRUE(fs::is_directory(fs::path(path_) / "keep"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ReplaceFile, ALinkedFileIsReplacedAtItsTargetAndTheLinkKept) {
  const fs::path shared = dir_ / "shared";
  fs::create_directories(shared);
  const fs::path target = shared / "voices.ini";
  std::ofstream(target, std::ios::binary) << "0\r\n1\r\n2\r\n";
  fs::create_symlink(fs::path("shared") / "voices.ini", path_);
  writeFileReplacing(path_, "0\r\n3\r\n4\r\n");
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(contents(), "0\r\n3\r\n4\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 1);
}

TEST_F(ReplaceFile, TheOldFilesPermissionsAreKept) {
  writeFileReplacing(path_, "0\r\n1\r\n2\r\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
  writeFileReplacing(path_, "0\r\n3\r\n4\r\n");
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(contents(), "0\r\n3\r\n4\r\n");
}

TEST(FullDisk, AFailedWriteOnAFullFileSystemLeavesTheOldFileIntact) {
  const fs::path mnt = fs::temp_directory_path() / ("orvane-full-" + std::to_string(::getpid()));
  fs::create_directories(mnt);
  if (::geteuid() != 0 ||
      std::system(("mount -t tmpfs -o size=64k tmpfs " + mnt.string() + " 2>/dev/null").c_str()) !=
          0) {
    fs::remove(mnt);
    GTEST_SKIP() << "cannot mount a small tmpfs here";
  }
  const std::string path = (mnt / "speech.ini").string();
  writeFileReplacing(path, "0\r\n1\r\n2\r\n");
  {
    std::ofstream filler(mnt / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
  }
  EXPECT_THROW(writeFileReplacing(path, "0\r\n" + std::string(8192, '9') + "\r\n"), Error);
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "0\r\n1\r\n2\r\n");
  in.close();
  EXPECT_EQ(std::system(("umount " + mnt.string()).c_str()), 0);
  fs::remove_all(mnt);
}

TEST(LanguageFold, JapaneseAndEnglishIdentifiers) {
  for (int id : {17, 1041, 2065}) EXPECT_EQ(classifyLanguage(id), VoiceLanguage::Japanese) << id;
  for (int id : {9, 1033, 2057}) EXPECT_EQ(classifyLanguage(id), VoiceLanguage::English) << id;
  for (int id : {0, 3081, 4105, 1042, 3089, -1, 1024 + 17 + 2048}) {
    EXPECT_EQ(classifyLanguage(id), VoiceLanguage::Other) << id;
  }
}

}  // namespace
}  // namespace orvane
