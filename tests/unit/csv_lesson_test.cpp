#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drill/csv_lesson.hpp"
#include "drill/question_check.hpp"

namespace orvane {
namespace {

TEST(CsvLesson, QuotingFollowsRfc4180) {
  std::vector<std::size_t> lines;
  const auto rows = parseCsv("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",x\n\nlast", &lines);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b,c", "say \"hi\""}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"two\nlines", "x"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"last"}));
  EXPECT_EQ(lines, (std::vector<std::size_t>{1, 2, 5}));
}

TEST(CsvLesson, ASpreadsheetBecomesAFileTheCheckerCallsCleanAndTheDrillAsksAsWritten) {
  const std::string csv =
      "\xEF\xBB\xBF"
      "問題,英文\r\n"                               // a header row
      "私は学生です。,I am a student.\r\n"          // the sentence in one cell
      "これはペンですか。,is,this,a,pen,?\r\n"      // the words in cells, the mark too
      "\"「はい」と言った。\",\"Yes, it is.\"\r\n"  // quoted cells
      ",I run.\r\n"                                 // no prompt
      "走れ,Run\r\n"                                // no closing mark
      "多い,a b c d e f g h.\r\n"                   // eight words
      ",,,\r\n"                                     // an empty row, passed over
      "止まれ！,Stop！\r\n"                         // a full-width mark
      "トムだ,Tom is here.\r\n"                     // a name, as the next row shows
      "トムが好き,I like Tom.\r\n";
  const CsvLesson lesson = questionFileFromCsv(csv);
  EXPECT_EQ(lesson.questions, 6u);
  std::vector<std::pair<std::size_t, std::string>> problems;
  for (const auto& p : lesson.problems) problems.emplace_back(p.row, p.message.substr(0, 9));
  const std::vector<std::pair<std::size_t, std::string>> expected = {
      {5, "問題文"}, {6, "文の終"}, {7, "単語が"}};
  EXPECT_EQ(problems, expected);
  EXPECT_TRUE(lesson.headerSkipped);

  QuestionFile file;
  file.openBytes(lesson.questionFile);
  const CheckResult check = checkQuestionFile(file);
  // Clean but for the hint on the name that begins a sentence.
  ASSERT_EQ(check.findings.size(), 1u);
  EXPECT_TRUE(check.findings[0].message.starts_with("ヒント")) << check.findings[0].message;
  EXPECT_EQ(check.findings[0].record, 5u);
  ASSERT_EQ(check.questions.size(), 6u);
  EXPECT_EQ(check.questions[0].answer, "I am a student.");
  EXPECT_EQ(check.questions[1].answer, "is this a pen?");
  EXPECT_EQ(check.questions[2].prompt, "「はい」と言った。");
  EXPECT_EQ(check.questions[2].answer, "yes, it is.");  // the sentence's capital lowered
  EXPECT_EQ(check.questions[3].answer, "stop!");
  EXPECT_EQ(check.questions[4].answer, "Tom is here.");
}

TEST(CsvLesson, ShiftJisAndUtf16ExportsReadAsTheirText) {
  // 私は学生です。,I am. in Shift-JIS, and the same row in UTF-16 with a byte-order mark.
  const std::string shiftJis = "\x8E\x84\x82\xCD,I am.\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char16_t c : std::u16string(u"私は,I am.\r\n")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  for (const std::string& bytes : {shiftJis, utf16}) {
    const CsvLesson lesson = questionFileFromCsv(bytes);
    EXPECT_TRUE(lesson.problems.empty());
    EXPECT_NE(lesson.questionFile.find("私は\r\nI\r\nam\r\n"), std::string::npos)
        << lesson.questionFile;
  }
}

}  // namespace
}  // namespace orvane
