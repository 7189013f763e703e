#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/error.hpp"
#include "drill/decoder.hpp"
#include "drill/question_file.hpp"

namespace orvane {
namespace {

std::vector<std::string> allLines(QuestionFile& f) {
  std::vector<std::string> lines;
  while (!f.atEnd()) lines.push_back(f.readLine());
  return lines;
}

TEST(QuestionFile, LineEndsAreCrLfOrLfAndLoneCrsAreDropped) {
  QuestionFile f;
  f.openBytes("one\r\ntwo\nthr\ree\r\n\r\nlast");
  EXPECT_EQ(allLines(f), (std::vector<std::string>{"one", "two", "three", "", "last"}));
  EXPECT_EQ(f.readLine(), "");  // past the end: empty, no failure
}

TEST(QuestionFile, NulBytesAreDropped) {
  QuestionFile f;
  f.openBytes(std::string("\0wo\0rd\0\r\n", 9));
  EXPECT_EQ(f.readLine(), "word");
}

TEST(QuestionFile, CtrlZAtTheStartOfALineEndsTheFile) {
  QuestionFile f;
  f.openBytes(
      "a\r\n\x1A"
      "b\r\nc\r\n");
  EXPECT_EQ(f.readLine(), "a");
  EXPECT_TRUE(f.atEnd());
  EXPECT_EQ(f.readLine(), "");
}

TEST(QuestionFile, CtrlZInsideALineIsKeptAsText) {
  QuestionFile f;
  f.openBytes(
      "a\x1A"
      "b\r\n");
  EXPECT_EQ(f.readLine(),
            "a\x1A"
            "b");
}

TEST(QuestionFile, RestIsBlankSeesOnlyEmptyAndBlankLines) {
  QuestionFile f;
  f.openBytes("x\r\n\r\n  \r\n\t\r\n");
  f.readLine();
  EXPECT_TRUE(f.restIsBlank());
  f.openBytes("\r\n\r\nmore\r\n");
  EXPECT_FALSE(f.restIsBlank());
  f.openBytes(
      "\r\n\x1A"
      "text after the end mark");
  EXPECT_TRUE(f.restIsBlank());
}

TEST(QuestionFile, AClosedHandleIsIoError104) {
  QuestionFile f;
  try {
    (void)f.atEnd();
    FAIL() << "expected an I/O error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "I/O エラー (104)");
  }
  EXPECT_THROW(f.readLine(), Error);
}

TEST(QuestionFile, DecodesShiftJisAndMarksInvalidBytes) {
  QuestionFile f;
  // 私は (Shift-JIS), then a lone lead byte at the end of the line, then an undefined byte.
  f.openBytes("\x8E\x84\x82\xCD\r\n\x82\r\n\x80z\r\n\\~\r\n");
  EXPECT_EQ(f.encoding(), Encoding::ShiftJis);
  EXPECT_EQ(f.readLine(), "私は");
  EXPECT_EQ(f.readLine(), "\xEF\xBF\xBD");
  EXPECT_EQ(f.readLine(), "\xEF\xBF\xBDz");
  EXPECT_EQ(f.readLine(), "\\~");  // ASCII stays ASCII
}

TEST(QuestionFile, ReadsUtf8WithAByteOrderMarkOrWhenValidThroughout) {
  QuestionFile f;
  f.openBytes(
      "\xEF\xBB\xBF"
      "1\r\n私は\r\n");
  EXPECT_EQ(f.encoding(), Encoding::Utf8);
  EXPECT_EQ(f.readLine(), "1");
  EXPECT_EQ(f.readLine(), "私は");

  f.openBytes("1\n今日は\n");
  EXPECT_EQ(f.encoding(), Encoding::Utf8);
  f.readLine();
  EXPECT_EQ(f.readLine(), "今日は");

  // With a mark, bytes that are not UTF-8 are shown as replacement characters.
  f.openBytes(
      "\xEF\xBB\xBF"
      "a\xFF\n");
  EXPECT_EQ(f.readLine(), "a\xEF\xBF\xBD");
}

TEST(QuestionFile, ALongLineIsReadWhole) {
  QuestionFile f;
  const std::string line(10 * 1024 * 1024, 'w');
  f.openBytes(line + "\r\nnext\r\n");
  EXPECT_EQ(f.readLine().size(), line.size());
  EXPECT_EQ(f.readLine(), "next");
}

TEST(QuestionFile, ContentIsTakenWhenOpenedSoLaterChangesOnDiskDoNotTearIt) {
  const auto path = std::filesystem::temp_directory_path() / "orvane-qf-test.dat";
  { std::ofstream(path, std::ios::binary) << "1\r\nprompt\r\n"; }
  QuestionFile f;
  f.open(path.string());
  std::filesystem::resize_file(path, 0);
  std::filesystem::remove(path);
  EXPECT_EQ(f.readLine(), "1");
  EXPECT_EQ(f.readLine(), "prompt");
}

TEST(QuestionFile, MissingFilesAndFoldersCannotBeOpened) {
  QuestionFile f;
  EXPECT_THROW(f.open("/nonexistent/orvane/toi.dat"), Error);
  EXPECT_FALSE(f.isOpen());
  EXPECT_THROW(f.open(std::filesystem::temp_directory_path().string()), Error);
  EXPECT_FALSE(f.isOpen());
}

}  // namespace
}  // namespace orvane
