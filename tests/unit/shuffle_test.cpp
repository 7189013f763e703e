#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>

#include "drill/shuffle.hpp"

namespace orvane {
namespace {

// A record's seven word positions and its closing mark after them.
using Line = std::array<std::string, 8>;

Line lineWith(std::initializer_list<const char*> words, const char* mark) {
  Line s{};
  std::size_t k = 0;
  for (const char* w : words) s[k++] = w;
  s[7] = mark;
  return s;
}

// Shuffles the first n positions, as the drill does for a question of n words to place.
void shuffle(Line& s, std::size_t n, ShuffleRandom& r) {
  shuffleWords(std::span(s).first(n), r);
}

std::string order(const Line& s) {
  std::string out;
  for (const std::string& w : s) out += w + "|";
  return out;
}

TEST(Shuffle, ThreeWordsComeInExactlyThreeOrders) {
  std::set<std::string> seen;
  for (std::uint64_t seed = 0; seed < 2000; ++seed) {
    auto s = lineWith({"a", "b", "c"}, ".");
    ShuffleRandom r(seed);
    shuffle(s, 3, r);
    seen.insert(order(s));
  }
  EXPECT_EQ(seen, (std::set<std::string>{"a|b|c|||||.|", "b|a|c|||||.|", "a|c|b|||||.|"}));
}

TEST(Shuffle, OneOrTwoWordsKeepTheFileOrder) {
  for (std::uint64_t seed = 0; seed < 200; ++seed) {
    auto one = lineWith({"Go"}, "!");
    auto two = lineWith({"Come", "here"}, ".");
    ShuffleRandom r(seed);
    shuffle(one, 1, r);
    shuffle(two, 2, r);
    EXPECT_EQ(order(one), "Go|||||||!|");
    EXPECT_EQ(order(two), "Come|here||||||.|");
  }
}

TEST(Shuffle, SevenWordsArePermutedAndTheMarkNeverMoves) {
  std::set<std::string> firsts;
  for (std::uint64_t seed = 0; seed < 500; ++seed) {
    auto s = lineWith({"1", "2", "3", "4", "5", "6", "7"}, "?");
    ShuffleRandom r(seed);
    shuffle(s, 7, r);
    EXPECT_EQ(s[7], "?");
    std::vector<std::string> words(s.begin(), s.begin() + 7);
    std::sort(words.begin(), words.end());
    EXPECT_EQ(words, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    firsts.insert(s[0]);
  }
  // The seventh word is touched only by the first pass, so it can never come first;
  // every other word can.
  EXPECT_EQ(firsts, (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST(Shuffle, AnEmptySlotAmongTheFirstPositionsMovesLikeAWord) {
  std::set<std::string> seen;
  for (std::uint64_t seed = 0; seed < 1000; ++seed) {
    // Words in positions 0, 1 and 3, position 2 empty: three words shuffle positions 0..2 only.
    Line s = lineWith({"a", "b", "", "d"}, ".");
    ShuffleRandom r(seed);
    shuffle(s, 3, r);
    EXPECT_EQ(s[3], "d");
    seen.insert(order(s));
  }
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen.count("a||b|d||||.|"));
}

TEST(Shuffle, TheSameSeedGivesTheSameOrder) {
  auto a = lineWith({"1", "2", "3", "4", "5"}, ".");
  auto b = a;
  ShuffleRandom ra(12345), rb(12345);
  shuffle(a, 5, ra);
  shuffle(b, 5, rb);
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
