#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/error.hpp"
#include "core/file_replacement.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

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

TEST_F(ReplaceFile, ASaveUnderAnotherWindowsLockSaysSoAndTouchesNothing) {
  writeFileReplacing(path_, "0\r\n1\r\n2\r\n");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const int fd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
    (void)!::write(ready[1], "x", 1);
    ::sleep(4);
    ::_exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  try {
    writeFileReplacing(path_, "0\r\n3\r\n4\r\n");
    ADD_FAILURE() << "a save under another's lock went ahead";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("別のウィンドウが保存しています"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(contents(), "0\r\n1\r\n2\r\n");
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace orvane
