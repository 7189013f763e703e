#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "speech/text_pieces.hpp"

namespace orvane {
namespace {

using Pieces = std::vector<std::string>;

TEST(TextPieces, ShortTextsStayWholeAndLongOnesStartShortAndGrow) {
  struct Case {
    std::string text;
    Pieces expected;
  };
  const Case cases[] = {
      {"I am a student.", {"I am a student."}},
      {"", {}},
      // Long digit runs are read in groups of four; eight digits stay as they are.
      {"20240401", {"20240401"}},
      {"123456789", {"1234 5678 9"}},
      // Past the limit: the first piece up to 8 bytes, the next up to 16, then 20 at the most,
      // each cut after a sentence mark, else at a blank, in its second half.
      {"One two. Three four five six seven eight nine ten.",
       {"One two.", "Three four five", "six seven eight nine", "ten."}},
      // No blank: cut between characters, never inside one.
      {"ああああああああああ", {"ああ", "あああああ", "あああ"}},
      {"あ、いうえおかきくけこさしすせそ", {"あ、", "いうえおか", "きくけこさし", "すせそ"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(speakablePieces(c.text, 8, 20), c.expected) << c.text;
  }
}

TEST(TextPieces, NothingIsLostAndNoPieceIsLong) {
  const std::string text = std::string(4000, '7') + " https://example.org/" + std::string(500, 'a');
  const Pieces pieces = speakablePieces(text, 24, 192);
  std::string joined;
  for (const std::string& p : pieces) {
    EXPECT_LE(p.size(), 192u);
    for (char c : p) {
      if (c != ' ') joined += c;
    }
  }
  EXPECT_LE(pieces.front().size(), 24u);
  std::string expected;
  for (char c : text) {
    if (c != ' ') expected += c;
  }
  EXPECT_EQ(joined, expected);
}

}  // namespace
}  // namespace orvane
