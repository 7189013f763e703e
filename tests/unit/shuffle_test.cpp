#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "drill/shuffle.hpp"

namespace orvane {
namespace {

std::array<std::string, 10> slotsWith(std::initializer_list<const char*> words, const char* mark) {
  std::array<std::string, 10> s{};
  int k = 2;
  for (const char* w : words) s[static_cast<std::size_t>(k++)] = w;
  s[9] = mark;
  return s;
}

std::string order(const std::array<std::string, 10>& s) {
  std::string out;
  for (int k = 2; k <= 9; ++k) out += s[static_cast<std::size_t>(k)] + "|";
  return out;
}

TEST(Shuffle, ThreeWordsComeInExactlyThreeOrders) {
  std::set<std::string> seen;
  for (std::uint64_t seed = 0; seed < 2000; ++seed) {
    auto s = slotsWith({"a", "b", "c"}, ".");
    ShuffleRandom r(seed);
    shuffleSlots(s, 3, r);
    seen.insert(order(s));
  }
  EXPECT_EQ(seen, (std::set<std::string>{"a|b|c|||||.|", "b|a|c|||||.|", "a|c|b|||||.|"}));
}

TEST(Shuffle, OneOrTwoWordsKeepTheFileOrder) {
  for (std::uint64_t seed = 0; seed < 200; ++seed) {
    auto one = slotsWith({"Go"}, "!");
    auto two = slotsWith({"Come", "here"}, ".");
    ShuffleRandom r(seed);
    shuffleSlots(one, 1, r);
    shuffleSlots(two, 2, r);
    EXPECT_EQ(order(one), "Go|||||||!|");
    EXPECT_EQ(order(two), "Come|here||||||.|");
  }
}

TEST(Shuffle, SevenWordsArePermutedAndTheMarkNeverMoves) {
  std::set<std::string> firsts;
  for (std::uint64_t seed = 0; seed < 500; ++seed) {
    auto s = slotsWith({"1", "2", "3", "4", "5", "6", "7"}, "?");
    ShuffleRandom r(seed);
    shuffleSlots(s, 7, r);
    EXPECT_EQ(s[9], "?");
    std::vector<std::string> words(s.begin() + 2, s.begin() + 9);
    std::sort(words.begin(), words.end());
    EXPECT_EQ(words, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    firsts.insert(s[2]);
  }
  // Slot 8 is touched only by the first pass, so the seventh word can never come first;
  // every other word can.
  EXPECT_EQ(firsts, (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST(Shuffle, AnEmptySlotAmongTheFirstPositionsMovesLikeAWord) {
  std::set<std::string> seen;
  for (std::uint64_t seed = 0; seed < 1000; ++seed) {
    // Words in slots 2, 3 and 5, slot 4 empty: n = 3 shuffles positions 2..4 only.
    std::array<std::string, 10> s{};
    s[2] = "a";
    s[3] = "b";
    s[5] = "d";
    s[9] = ".";
    ShuffleRandom r(seed);
    shuffleSlots(s, 3, r);
    EXPECT_EQ(s[5], "d");
    seen.insert(order(s));
  }
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen.count("a||b|d||||.|"));
}

TEST(Shuffle, TheSameSeedGivesTheSameOrder) {
  auto a = slotsWith({"1", "2", "3", "4", "5"}, ".");
  auto b = a;
  ShuffleRandom ra(12345), rb(12345);
  shuffleSlots(a, 5, ra);
  shuffleSlots(b, 5, rb);
  EXPECT_EQ(order(a), order(b));
}

TEST(ShuffleRandom, DrawsStayInRangeAndCoverIt) {
  ShuffleRandom r(7);
  std::array<int, 6> counts{};
  for (int i = 0; i < 6000; ++i) {
    const auto v = r.below(6);
    ASSERT_LT(v, 6u);
    ++counts[v];
  }
  for (int c : counts) EXPECT_GT(c, 800);
}

}  // namespace
}  // namespace orvane
