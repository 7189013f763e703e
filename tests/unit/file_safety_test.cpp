// What the program does with files that are not what they should be: special files, read-only
// files, links, and saves cut short by a kill.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <thread>

#include "app/speech_ini.hpp"
#include "core/error.hpp"
#include "drill/question_file.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("orvane-files-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void write(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  // Runs `f` in a child that has given up root, as an ordinary user would be.
  static bool asNobody(const std::function<bool()>& f) {
    const pid_t child = ::fork();
    if (child == 0) {
      if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
      ::_exit(f() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  fs::path dir_;
};

// A FIFO with no writer, a folder, a device and a socket: reading any of them must neither block
// nor succeed.
TEST_F(Files, OnlyRegularFilesAreReadAndNothingBlocks) {
  const std::string fifo = path("fifo"), folder = path("folder"), sock = path("socket");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  fs::create_directories(folder);
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  sock.copy(addr.sun_path, sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  for (const std::string& p : {fifo, folder, sock, std::string("/dev/zero")}) {
    QuestionFile f;
    EXPECT_THROW(f.open(p), Error) << p;
    EXPECT_FALSE(f.isOpen()) << p;
    EXPECT_THROW(readSpeechIni(p), Error) << p;
  }
  ::close(s);
}

TEST_F(Files, SpeechIniIsReadAsLinesWhateverTheirLength) {
  struct Case {
    std::string text;
    std::optional<SpeechIni> expected;
  };
  const std::string longLine(3 * 1024 * 1024, 'x');
  const Case cases[] = {
      {longLine + "\r\n1\r\n1234\r\n", SpeechIni{1, 1234}},  // a first line of any length
      {"0\r\n1\r\n1234" + longLine, std::nullopt},           // a long third line is no number
      {"0\r\n" + std::string(100, ' ') + "7\r\n2\r\n", SpeechIni{7, 2}},  // blanks of any length
      {"0\r\n" + std::string(40, ' ') + "7\r\n2\r\n" + longLine, SpeechIni{7, 2}},
  };
  const std::string ini = path("speech.ini");
  for (const Case& c : cases) {
    write(ini, c.text);
    if (c.expected) {
      const SpeechIni got = readSpeechIni(ini);
      EXPECT_EQ(got.japaneseVoiceMode, c.expected->japaneseVoiceMode);
      EXPECT_EQ(got.englishVoiceMode, c.expected->englishVoiceMode);
    } else {
      EXPECT_THROW(readSpeechIni(ini), Error) << c.text.substr(0, 120);
    }
  }
}

constexpr const char* kOld = "0\r\n1\r\n2\r\n";
constexpr const char* kNew = "0\r\n3\r\n4\r\n";

TEST_F(Files, ASaveReplacesOnlyAWritableRegularFile) {
  const std::string ini = path("speech.ini"), fifo = path("fifo");
  // A link to a FIFO (or a device): an error, and the FIFO stays a FIFO.
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  fs::create_symlink(fifo, ini);
  EXPECT_THROW(writeFileReplacing(ini, kNew), Error);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_symlink(ini));
  fs::remove(ini);
  // A read-only file: an error, even for root, and the file untouched.
  write(ini, kOld);
  fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_THROW(writeFileReplacing(ini, kNew), Error);
  EXPECT_EQ(contents(ini), kOld);
  EXPECT_EQ(fs::status(ini).permissions(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(entries(), 2u);
}

TEST_F(Files, ASaveKeepsHardLinksOwnerGroupAndMode) {
  const std::string ini = path("speech.ini"), twin = path("twin.ini");
  write(ini, kOld);
  fs::create_hard_link(ini, twin);
  writeFileReplacing(ini, kNew);
  EXPECT_EQ(contents(twin), kNew);
  EXPECT_EQ(fs::hard_link_count(ini), 2u);
  fs::remove(twin);

  ::chmod(ini.c_str(), 0640);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(ini.c_str(), 65534, 65534), 0);
  }
  struct stat before {};
  ::stat(ini.c_str(), &before);
  writeFileReplacing(ini, kOld);
  struct stat after {};
  ::stat(ini.c_str(), &after);
  EXPECT_EQ(contents(ini), kOld);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
}

TEST_F(Files, AWritableFileInAReadOnlyFolderIsSavedInPlace) {
  const std::string ini = path("speech.ini");
  write(ini, kOld);
  ::chmod(ini.c_str(), 0666);
  ::chmod(dir_.c_str(), 0555);
  EXPECT_TRUE(asNobody([&] {
    try {
      writeFileReplacing(ini, kNew);
      return true;
    } catch (const Error&) {
      return false;
    }
  }));
  EXPECT_EQ(contents(ini), kNew);
  EXPECT_EQ(entries(), 1u);
}

// Saves killed at random moments: the file always holds the old or the new lines, and at most
// one unfinished save is left, which the next save clears.
TEST_F(Files, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewLines) {
  const std::string ini = path("speech.ini");
  write(ini, kOld);
  std::mt19937 random(7);
  for (int round = 0; round < 100; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      for (;;) {
        writeFileReplacing(ini, kNew);
        writeFileReplacing(ini, kOld);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string now = contents(ini);
    ASSERT_TRUE(now == kOld || now == kNew) << "round " << round << ": \"" << now << '"';
    ASSERT_LE(entries(), 2u) << "round " << round;
  }
  writeFileReplacing(ini, kNew);
  EXPECT_EQ(entries(), 1u);
  EXPECT_FALSE(fs::exists(savingPath(ini)));
}

TEST_F(Files, SavesFromTwoProcessesTakeTurnsAndNeverDamageTheFile) {
  const std::string ini = path("speech.ini");
  write(ini, kOld);
  constexpr int kSaves = 300;
  // Each process saves its own lines over and over and reads the file back after each save.
  const auto saveAndRead = [&](const std::string& mine) {
    int failures = 0;
    for (int i = 0; i < kSaves; ++i) {
      try {
        writeFileReplacing(ini, mine);
        const std::string now = contents(ini);
        if (now != kOld && now != kNew) ++failures;
      } catch (const Error&) {
        ++failures;
      }
    }
    return failures;
  };
  const pid_t child = ::fork();
  if (child == 0) ::_exit(std::min(saveAndRead(kNew), 255));
  const int parentFailures = saveAndRead(kOld);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(parentFailures, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(entries(), 1u);  // no leftover beside speech.ini
}

}  // namespace
}  // namespace orvane
