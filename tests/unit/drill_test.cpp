// The drill model driven through whole question files with no window: each case is a file, the
// learner's operations and what the drill answers to each.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/error.hpp"
#include "drill/drill.hpp"

namespace orvane {
namespace {

// One record: marker, prompt, up to seven word lines, closing mark.
std::string record(const std::string& prompt, std::vector<std::string> words, const char* mark) {
  words.resize(7);
  std::string r = "1\r\n" + prompt + "\r\n";
  for (const std::string& w : words) r += w + "\r\n";
  return r + mark + "\r\n";
}

const std::string kStudent = record("私は学生です。", {"I", "am", "a", "student"}, ".");
const std::string kPen = record("これはペンですか。", {"Is", "this", "a", "pen"}, "?");

const char* phaseName(Phase p) {
  constexpr const char* kNames[] = {"none",  "shown", "placing", "closed",
                                    "right", "wrong", "answer",  "over"};
  return kNames[static_cast<int>(p)];
}

// Runs the operations, one word a token: reveal, check, erase, answer, next, end, a closing mark,
// "empty" (opens a file with no question), the words to place (by their text in the file), and
// the probes left, sentence and score. Each step is logged as the phase it leaves the drill in
// ("-" when it did not apply), then what it says in quotes; a check adds its mark and, when it
// counts, the score it reports.
std::string run(const std::string& file, const std::string& operations,
                const DrillOptions& options = {}) {
  Drill d([] { return 0; });
  d.setOptions(options);
  std::ostringstream log;
  const auto logStep = [&](const DrillStep& step) {
    if (step.change == Change::Nothing) {
      log << " -";
      return;
    }
    log << ' ' << (step.change == Change::NothingToCheck ? "nothing" : phaseName(d.phase()));
    for (const ToSay& t : step.toSay) {
      log << (t.language == Language::Japanese ? "'" : "\"") << t.text
          << (t.language == Language::Japanese ? "'" : "\"");
    }
    if (step.checked) {
      log << (step.checked->right ? "○" : "×");
      if (step.checked->counted) log << scoreText(step.checked->score);
      if (step.checked->round == 2) log << "(2)";
    }
    const bool optionsOn = options.reviewMissed || options.keepRightWords;
    if (const auto& c = step.closed; c && optionsOn) {
      log << '[' << (c->verdict == Verdict::Skipped ? "skip " : "answer ") << c->question->number
          << " \"" << c->sentence << "\"" << (c->round == 2 ? "(2)" : "") << ']';
    }
  };
  logStep(d.openText(file));
  std::istringstream ops(operations);
  for (std::string op; ops >> op;) {
    if (op == "reveal")
      logStep(d.reveal());
    else if (op == "check")
      logStep(d.check());
    else if (op == "erase")
      logStep(d.erase());
    else if (op == "answer")
      logStep(d.showAnswer());
    else if (op == "next")
      logStep(d.next());
    else if (op == "end")
      logStep(d.end());
    else if (op == "empty")
      logStep(d.openText(""));
    else if (op == "." || op == "?" || op == "!")
      logStep(d.placeMark(op[0]));
    else if (op == "left")
      log << " left=" << d.wordsLeft();
    else if (op == "sentence")
      log << " sentence=\"" << d.sentence() << '"';
    else if (op == "score")
      log << " score=" << scoreText(d.score()) << " reported=\"" << d.reportedScoreText() << '"';
    else {
      std::size_t i = 0;
      while (i < Drill::kMaxWords && d.words()[i] != op) ++i;
      logStep(d.placeWord(i));
    }
  }
  return log.str().substr(1);
}

TEST(Drill, RunsQuestionFilesAsTheLearnerGoes) {
  struct Case {
    const char* what;
    std::string file;
    const char* operations;
    const char* log;
  };
  const Case cases[] = {
      {"a right sentence, then the end of the file", kStudent,
       "reveal I am a student . check next next answer",
       "shown'私は学生です。' placing placing placing placing placing closed right\" I am a "
       "student.\"○1/1 100% over'タブキーを押してEnterキーを押すと終わり。' - -"},
      {"right, wrong, right, wrong",
       record("一", {"One"}, ".") + record("二", {"Two"}, ".") + record("三", {"Three"}, ".") +
           record("四", {"Four"}, "."),
       "reveal One . check next reveal Two ? check next reveal Three . check next reveal Four ! "
       "check",
       "shown'一' placing placing closed right\" One.\"○1/1 100% shown'二' placing placing closed "
       "wrong\" Two?\"×1/2 50% shown'三' placing placing closed right\" Three.\"○2/3 66% "
       "shown'四' placing placing closed wrong\" Four!\"×2/4 50%"},
      {"wrong, then Erase and right: heard and marked, not counted", kStudent,
       "reveal a I am student . check erase sentence left I am a student . check check score",
       "shown'私は学生です。' placing placing placing placing placing closed wrong\" A I am "
       "student.\"×0/1 0% placing sentence=\"\" left=4 placing placing placing placing closed "
       "right\" I am a student.\"○ right\" I am a student.\"○ score=0/1 0% reported=\"0/1 0%\""},
      {"a question skipped counts as asked", kStudent + kPen, "next reveal Is this a pen ? check",
       "shown'私は学生です。' shown'これはペンですか。' placing placing placing placing placing "
       "closed right\" Is this a pen?\"○1/2 50%"},
      {"a mark with words left closes nothing; the words go after it; only Erase leads on", kPen,
       "reveal Is ? left this a pen sentence check . erase Is this a pen ? check",
       "shown'これはペンですか。' placing placing placing left=3 placing placing placing "
       "sentence=\" Is? "
       "this a pen\" - - placing placing placing placing placing closed right\" Is this a "
       "pen?\"○1/1 100%"},
      {"no closing mark: a mark closes with a word left, and nothing matches",
       record("終わりの記号がない", {"Good", "morning"}, ""),
       "reveal left Good . check morning sentence answer",
       "shown'終わりの記号がない' placing left=1 placing closed wrong\" Good.\"×0/1 0% wrong "
       "sentence=\" Good. morning\" answer\"Good morning\""},
      {"only a closing mark", record("単語がない", {}, "!"), "reveal left ! check",
       "shown'単語がない' placing left=0 closed right\"!\"○1/1 100%"},
      {"an empty word line among the words: the words on offer all count",
       record("空の単語行", {"We", "like", "", "tea"}, "."), "left reveal tea We like . check",
       "shown'空の単語行' left=3 placing placing placing placing closed wrong\" Tea We "
       "like.\"×0/1 0%"},
      {"Answer before any check shows the model answer as the file has it",
       record("これはペンです。", {"this", "is", "a", "pen"}, "."), "answer next empty reveal",
       "shown'これはペンです。' answer\"this is a pen.\" over'タブキーを押してEnterキーを押すと終"
       "わり。' none'タブキーを押してEnterキーを押すと終わり。' -"},
      {"the model answer takes its capital at the first check, and Answer shows it so",
       record("これはペンです。", {"this", "is", "a", "pen"}, "."),
       "reveal pen is a this . check answer a",
       "shown'これはペンです。' placing placing placing placing placing closed wrong\" Pen is a "
       "this.\"×0/1 0% answer\"This is a pen.\" -"},
      {"words still on offer after Answer are placed after it",
       record("終わりの記号がない", {"Good", "morning"}, ""),
       "reveal Good . check answer morning sentence erase sentence",
       "shown'終わりの記号がない' placing placing closed wrong\" Good.\"×0/1 0% answer\"Good "
       "morning\" "
       "answer sentence=\"Good morning morning\" placing sentence=\"\""},
      {"nothing applies before its time, nor twice", kStudent,
       "I . check erase reveal reveal I I left . . check",
       "shown'私は学生です。' - - - - placing - placing - left=3 placing - -"},
      {"a file with no question: nothing to check, and Next ends the drill", "",
       "check reveal left next next",
       "none'' nothing - left=-1 over'タブキーを押してEnterキーを押すと終わり。' -"},
      {"a file with no question keeps the prompt; the score starts again but the report stands",
       kStudent + kPen, "reveal I am a student . check next empty score next",
       "shown'私は学生です。' placing placing placing placing placing closed right\" I am a "
       "student.\"○1/1 100% shown'これはペンですか。' none'これはペンですか。' score=0/1 0% "
       "reported=\"1/1 100%\" over'タブキーを押してEnterキーを押すと終わり。'"},
      {"a first marker of \"*\" is not looked at; a later one ends the questions",
       "*\r\n" + record("星印", {"Hello"}, "!").substr(3) + "*\r\n" + kPen, "next end",
       "shown'星印' over'タブキーを押してEnterキーを押すと終わり。' over"},
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.file, c.operations), c.log) << c.what;
}

TEST(Drill, ACheckIsAnAttemptAResultsRecordCanKeep) {
  Drill d([] { return 0; });
  d.openText(kStudent + kPen);
  d.next();
  d.reveal();
  for (const char* w : {"this", "Is", "a", "pen"}) {
    for (std::size_t i = 0; i < Drill::kMaxWords; ++i) {
      if (d.words()[i] == w) d.placeWord(i);
    }
  }
  d.placeMark('?');
  const CheckedAttempt first = *d.check().checked;
  EXPECT_EQ(first.question->number, 2u);
  EXPECT_EQ(first.question->prompt, "これはペンですか。");
  EXPECT_EQ(first.attempt, 1);
  EXPECT_EQ(first.sentence, "This Is a pen?");
  EXPECT_EQ(first.answer, "Is this a pen?");
  EXPECT_FALSE(first.right);
  EXPECT_TRUE(first.missed());
  EXPECT_EQ(scoreText(first.score), "0/2 0%");
  const CheckedAttempt again = *d.check().checked;
  EXPECT_EQ(again.attempt, 2);
  EXPECT_FALSE(again.counted);
  EXPECT_FALSE(again.missed());
}

TEST(Drill, AFileThatCannotBeOpenedLeavesTheDrillAsItWas) {
  Drill d([] { return 0; });
  d.openText(kStudent);
  d.reveal();
  EXPECT_THROW(d.open("/nonexistent/toi.dat"), Error);
  EXPECT_EQ(d.phase(), Phase::Placing);
  EXPECT_EQ(d.prompt(), "私は学生です。");
  EXPECT_EQ(d.next().change, Change::NextQuestion);
  EXPECT_EQ(d.phase(), Phase::Over);
}

TEST(ScoreText, CutsThePercentageToAWholeNumber) {
  EXPECT_EQ(scoreText({1, 1}), "1/1 100%");
  EXPECT_EQ(scoreText({4, 3}), "3/4 75%");
  EXPECT_EQ(scoreText({3, 2}), "2/3 66%");
  EXPECT_EQ(scoreText({7, 0}), "0/7 0%");
  // No overflow where the count times 100 passes 32 bits.
  EXPECT_EQ(scoreText({2000000000, 2000000000}), "2000000000/2000000000 100%");
}

TEST(Drill, ReviewRoundAndKeepingTheRightBeginning) {
  struct Case {
    const char* what;
    std::string file;
    const char* operations;
    const char* log;
  };
  const DrillOptions review{true, false}, keep{false, true};
  const Case reviewCases[] = {
      {"missed by a wrong first check or a skip, asked again in file order; the score stays",
       kStudent + kPen + record("走れ！", {"Run"}, "!"),
       "reveal I am student a . check erase I am a student . check next next reveal Run ! "
       "check next reveal I am a student . check next next next score",
       "shown'私は学生です。' placing placing placing placing placing closed wrong\" I am student "
       "a.\"×0/1 0% placing placing placing placing placing closed right\" I am a student.\"○ "
       "shown'これはペンですか。' shown'走れ！'[skip 2 \"\"] placing placing closed right\" "
       "Run!\"○1/3 33% shown'間違えた問題をもう一度やります。''私は学生です。' placing placing "
       "placing placing placing closed right\" I am a student.\"○(2) "
       "shown'これはペンですか。' over'タブキーを押してEnterキーを押すと終わり。'[skip 2 "
       "\"\"(2)] - score=1/4 25% reported=\"1/3 33%\""},
      {"an answer shown is missed; nothing missed ends as before", kStudent + kPen,
       "answer next reveal Is this a pen ? check next next",
       "shown'私は学生です。' answer\"I am a student.\"[answer 1 \"\"] shown'これはペンですか。' "
       "placing placing placing placing placing closed right\" Is this a pen?\"○1/2 50% "
       "shown'間違えた問題をもう一度やります。''私は学生です。' over'タブキーを押してEnterキーを押す"
       "と終わり。'[skip 1 \"\"(2)]"},
  };
  for (const Case& c : reviewCases) EXPECT_EQ(run(c.file, c.operations, review), c.log) << c.what;
  const Case keepCases[] = {
      {"the right first words stay, the rest and the marks come back", kStudent,
       "reveal I am student a . check erase sentence left a student . check",
       "shown'私は学生です。' placing placing placing placing placing closed wrong\" I am student "
       "a.\"×0/1 0% placing sentence=\" I am\" left=2 placing placing closed right\" I am a "
       "student.\"○"},
      {"only the mark wrong: every word stays, the marks come back", kStudent,
       "reveal I am a student ? check erase sentence left . check",
       "shown'私は学生です。' placing placing placing placing placing closed wrong\" I am a "
       "student?\"×0/1 0% placing sentence=\" I am a student\" left=0 closed right\" I am a "
       "student.\"○"},
      {"a wrong first word keeps nothing; Erase before a check keeps nothing", kStudent,
       "reveal am I a student . check erase sentence I erase sentence",
       "shown'私は学生です。' placing placing placing placing placing closed wrong\" Am I a "
       "student.\"×0/1 0% placing sentence=\"\" placing placing sentence=\"\""},
  };
  for (const Case& c : keepCases) EXPECT_EQ(run(c.file, c.operations, keep), c.log) << c.what;
  // Without the options, Erase after a wrong check starts the sentence over.
  EXPECT_EQ(run(kStudent, "reveal I am student a . check erase sentence"),
            "shown'私は学生です。' placing placing placing placing placing closed wrong\" I am "
            "student a.\"×0/1 0% placing sentence=\"\"");
}

}  // namespace
}  // namespace orvane
