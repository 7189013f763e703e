#include <gtest/gtest.h>

#include "core/error.hpp"
#include "core/text.hpp"

namespace orvane {
namespace {

TEST(Trim, RemovesBlanksAndControlCharactersOnlyAtTheEdges) {
  EXPECT_EQ(text::trim(" \t\r\x01word\x1A\x20"), "word");
  EXPECT_EQ(text::trim(std::string("\0a b\0", 5)), "a b");
  EXPECT_EQ(text::trim("\x21!\x21"), "!!!");
  EXPECT_EQ(text::trim("   "), "");
  // Non-ASCII text is never cut: its bytes are all above 0x20.
  EXPECT_EQ(text::trim(" 私は "), "私は");
}

TEST(CapitaliseFirst, ChangesOnlyAnAsciiLowerCaseFirstLetter) {
  EXPECT_EQ(text::capitaliseFirst("student"), "Student");
  EXPECT_EQ(text::capitaliseFirst("i am"), "I am");
  EXPECT_EQ(text::capitaliseFirst("Is"), "Is");
  EXPECT_EQ(text::capitaliseFirst("élan"), "élan");
  EXPECT_EQ(text::capitaliseFirst("?"), "?");
  EXPECT_EQ(text::capitaliseFirst("{x"), "{x");  // the byte after 'z' is no letter
}

TEST(CapitaliseFirst, EmptyTextIsARangeError) {
  try {
    text::capitaliseFirst("");
    FAIL() << "expected a range error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "範囲チェックエラー");
  }
}

TEST(Utf8, ValidityRejectsMalformedSequences) {
  EXPECT_TRUE(text::isValidUtf8("plain ascii"));
  EXPECT_TRUE(text::isValidUtf8("今日は😀"));
  EXPECT_FALSE(text::isValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(text::isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(text::isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(text::isValidUtf8("\xE4\xBB"));          // cut short
  EXPECT_FALSE(text::isValidUtf8("\x8E\x84\x82\xCD"));  // Shift-JIS bytes
}

TEST(Utf8, CharactersKeepMultiByteSequencesWhole) {
  const auto chars = text::characters(
      "aあ\xFF"
      "b");
  ASSERT_EQ(chars.size(), 4u);
  EXPECT_EQ(chars[1], "あ");
  EXPECT_EQ(chars[2], "\xFF");
  for (std::string_view s : {"",
                             "aあ\xFF"
                             "b",
                             "\xE4\xBB", "漢字\xF0\x9F\x98\x80"})
    EXPECT_EQ(text::characterCount(s), text::characters(s).size()) << s;
}

TEST(ErrorReport, AddsAFullStopUnlessTheLastByteSortsAtOrBeforeIt) {
  EXPECT_EQ(text::errorReportText("範囲チェックエラー"), "範囲チェックエラー.");
  EXPECT_EQ(text::errorReportText("Disk full"), "Disk full.");
  EXPECT_EQ(text::errorReportText("I/O エラー (104)"), "I/O エラー (104)");
  EXPECT_EQ(text::errorReportText("done."), "done.");
  EXPECT_EQ(text::errorReportText("trailing "), "trailing ");
  EXPECT_EQ(text::errorReportText("a-"), "a-");
  EXPECT_EQ(text::errorReportText("a/"), "a/.");
  EXPECT_EQ(text::errorReportText(""), "");
}

}  // namespace
}  // namespace orvane
