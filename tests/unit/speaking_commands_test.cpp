#include <gtest/gtest.h>

#include "app/speaking_commands.hpp"

namespace orvane {
namespace {

TEST(SpellOut, FollowsEveryCharacterWithOneBlank) {
  EXPECT_EQ(spellOut("Start"), "S t a r t ");
  EXPECT_EQ(spellOut("?"), "? ");
  EXPECT_EQ(spellOut("日本"), "日 本 ");
  EXPECT_EQ(spellOut(std::string(40, 'x')).size(), 80u);
}

}  // namespace
}  // namespace orvane
