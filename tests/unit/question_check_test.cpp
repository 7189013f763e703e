#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "drill/question_check.hpp"

namespace orvane {
namespace {

// One record: marker, prompt, seven word lines, closing mark.
std::string record(const std::string& prompt, std::vector<std::string> words, const char* mark) {
  words.resize(7);
  std::string r = "1\r\n" + prompt + "\r\n";
  for (const std::string& w : words) r += w + "\r\n";
  return r + mark + "\r\n";
}

// Lines joined as a file: CR LF after each.
std::string lines(std::initializer_list<const char*> each) {
  std::string out;
  for (const char* line : each) out += std::string(line) + "\r\n";
  return out;
}

TEST(QuestionCheck, EachFindingStandsOnItsLine) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::pair<std::size_t, std::string>> expected;  // line, a part of the message
  };
  const std::string good = record("私は学生です。", {"I", "am", "a", "student"}, ".");
  const Case cases[] = {
      {"a clean file",
       good + record("走れ", {"run"}, "!") + record("トムだ", {"Tom"}, "!"),
       {{23, "ヒント"}}},
      {"an empty prompt", good + record("  ", {"run"}, "!"), {{12, "問題文"}}},
      {"a prompt of full-width blanks", record("　 　", {"run"}, "!"), {{2, "問題文"}}},
      {"a gap among the words", record("p", {"I", "", "a"}, "."), {{4, "続けて"}}},
      {"a word with a blank", record("p", {"a", "New York"}, "."), {{4, "空白"}}},
      {"no closing mark", record("p", {"run"}, ""), {{10, "終わりの記号"}}},
      {"an eighth word",
       record("p", {"a", "b", "c", "d", "e", "f", "g"}, "h"),
       {{10, "7つより多く"}}},
      {"another mark", record("p", {"run"}, ","), {{10, "「.」「?」「!」"}}},
      {"a record cut short", good + "2\r\nprompt\r\nRun\r\n", {{13, "途切れて"}}},
      {"a star before the end", good + "*\r\n" + record("p", {"run"}, "!"), {{11, "「*」"}}},
      {"bytes of no encoding", record("p\x81", {"run"}, "!"), {{2, "バイト"}}},
      {"no question at all", "", {{1, "問題がありません"}}},
      {"a full-width word",
       record("p", {"ｃａｔｓ", "ｓtudent", "run"}, "."),
       {{3, "全角"}, {4, "全角"}}},
      {"a full-width closing mark", record("p", {"run"}, "！"), {{10, "全角です（！）"}}},
      {"I and its contractions",
       record("p", {"I'm", "here"}, ".") + record("p", {"I", "am"}, "."),
       {}},
      {"words that differ only in case",
       record("p", {"the", "cat", "saw", "The"}, "."),
       {{6, "the と The"}}},
      {"a word left in a spreadsheet's quotes",
       record("p", {"a", "\"cat\"", "“dog”"}, "."),
       {{4, "引用符"}, {5, "引用符"}}},
      {"nine words",
       lines({"1", "私は", "a", "b", "c", "d", "e", "f", "g", "h", "i", "."}) + good,
       {{10, "単語が 9 個あります"}}},
      // A record a line short or a line long is named once, where the cause lies, and the
      // records after it are checked from where they really start.
      {"a word line too few",
       lines({"1", "私は学生です。", "I", "am", "a", "student", "", "", "."}) + good,
       {{9, "この問題は 9 行しかありません: この行の「.」"}}},
      {"no prompt line",
       lines({"1", "I", "am", "a", "student", "", "", "", "."}) + good,
       {{2, "問題文（日本語）の行がないようです"}}},
      {"a prompt over two lines",
       lines({"1", "私は", "学生です。", "I", "am", "a", "student", "", "", "", "."}) + good + good,
       {{3, "この問題は 11 行あります"}}},
  };
  for (const Case& c : cases) {
    QuestionFile file;
    file.openBytes(c.file);
    const CheckResult result = checkQuestionFile(file);
    ASSERT_EQ(result.findings.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(result.findings[i].line, c.expected[i].first) << c.what;
      EXPECT_NE(result.findings[i].message.find(c.expected[i].second), std::string::npos)
          << c.what << ": " << result.findings[i].message;
    }
  }
}

TEST(QuestionCheck, ListsTheQuestionsAsTheDrillAsksThem) {
  QuestionFile file;
  file.openBytes(record("これはペンですか。", {" is ", "this", "a", "pen"}, "?") + "*\r\n");
  const CheckResult result = checkQuestionFile(file);
  ASSERT_EQ(result.questions.size(), 1u);
  EXPECT_EQ(result.questions[0].prompt, "これはペンですか。");
  EXPECT_EQ(result.questions[0].answer, "is this a pen?");
  EXPECT_EQ(result.encoding, Encoding::Utf8);
  EXPECT_TRUE(result.findings.empty());  // a star at the very end asks nothing less
}

TEST(QuestionCheck, APromptCheckFindsOnThePromptsLine) {
  QuestionFile file;
  file.openBytes(record("私は学生です。", {"I", "am"}, ".") + record("㐀です", {"run"}, "!"));
  const CheckResult result = checkQuestionFile(file, [](const std::string& prompt) {
    return prompt.starts_with("㐀") ? std::string("読めません") : std::string();
  });
  ASSERT_EQ(result.findings.size(), 1u);
  EXPECT_EQ(result.findings[0].line, 12u);
  EXPECT_EQ(result.findings[0].record, 2u);
  EXPECT_EQ(result.findings[0].message, "読めません");
}

}  // namespace
}  // namespace orvane
