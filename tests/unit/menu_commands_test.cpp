#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/menu_commands.hpp"
#include "app_harness.hpp"

namespace orvane {
namespace {

using testing::Harness;

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

}  // namespace
}  // namespace orvane
