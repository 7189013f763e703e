// The drill itself, without a window: it reads the question file, holds the question on show, the
// learner's sentence, the checks and the score, and answers each operation with what happened
// (drill_step.hpp). It never sees a caption; the window shows what it holds (app/drill_view) and
// the voice speaks what a step says.
//
//   NoQuestion    --open-->   QuestionShown  --reveal-->  Placing
//   Placing       --mark, with every word placed-->  SentenceClosed
//   SentenceClosed, CheckedRight, CheckedWrong  --check-->  CheckedRight | CheckedWrong
//   anywhere but Over  --showAnswer-->  AnswerShown
//   once revealed      --erase-->       Placing, every word on offer again
//   --next-->  QuestionShown, or Over at the end of the questions;  --open-->  starts again
//   (with the review round, the end of the file's questions leads to the missed ones first)
//
// Words are placed one at a time in any order; the first placed takes a capital. A mark given
// while words are left closes nothing: the words can still be placed after it, and only erase
// leads on. The score counts each question's first check; a check after erase or a second check
// changes nothing in it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drill/drill_step.hpp"
#include "drill/question_file.hpp"
#include "drill/review_round.hpp"

namespace orvane {

class Drill {
 public:
  static constexpr std::size_t kMaxWords = Question::kMaxWords;
  // What the drill says when its questions are used up.
  static constexpr const char* kClosingInstruction = "タブキーを押してEnterキーを押すと終わり。";
  // What the drill says before the review round's first question.
  static constexpr const char* kReviewAnnouncement = "間違えた問題をもう一度やります。";

  // `shuffleSeed` is asked once for every question, right before its words are shuffled.
  explicit Drill(std::function<std::uint64_t()> shuffleSeed);
  ~Drill();

  // A question file's first question (its marker line is not looked at, so a file may begin with
  // "*"). The score starts again at 1 asked and 0 right. A file with no question leaves none, and
  // the prompt as it was. Throws Error when the file cannot be read; the drill is then as it was.
  DrillStep open(const std::string& path);
  // The same for text in memory (tests, fuzzing).
  DrillStep openText(std::string bytes);

  // Each operation below changes nothing and returns Change::Nothing where it does not apply.
  DrillStep reveal();                     // QuestionShown: the words and marks go on offer
  DrillStep placeWord(std::size_t word);  // a word on offer
  DrillStep placeMark(char mark);         // while the marks are on offer
  DrillStep check();                      // SentenceClosed, CheckedRight or CheckedWrong
  DrillStep erase();                      // once the words are on offer
  DrillStep showAnswer();                 // anywhere but Over
  // The next record of the file; at its end, a "*" marker or with no file open, the drill is
  // over. The question counts as asked either way. Throws Error when the file cannot be read;
  // the drill is then as it was.
  DrillStep next();
  DrillStep end();  // closes the file

  void setOptions(const DrillOptions& options) { options_ = options; }
  // 1, or 2 in the review round (the score then stays as the first round left it).
  std::int32_t round() const { return review_.round(); }

  Phase phase() const { return phase_; }
  // The prompt on show: the question's, the closing instruction once over, and what it was when a
  // file with no question is opened. Shared, so that a prompt of any size is held once.
  const std::string& prompt() const { return *prompt_; }
  std::shared_ptr<const std::string> sharedPrompt() const { return prompt_; }
  // The current question as the file gives it; none without one.
  const std::shared_ptr<const Question>& question() const { return question_; }

  // The words in the order they are offered (shuffled); "" where there is none.
  const std::array<std::string, kMaxWords>& words() const { return words_; }
  // Revealed for this question (stays so through checks and erase).
  bool wordsRevealed() const { return revealed_; }
  bool wordOnOffer(std::size_t word) const;
  bool marksOnOffer() const { return revealed_ && !markGiven_; }
  // The words placed in this attempt, in order: the first of them has the capital.
  const std::vector<std::size_t>& placed() const { return placed_; }
  // Words still to place before a mark completes the sentence (-1 with no question).
  std::int32_t wordsLeft() const;

  // The sentence as built: a blank before each word, the mark right after what came before it;
  // the model answer once shown.
  const std::string& sentence() const { return sentence_; }
  // The model answer: as the file gives it until the first check trims it and capitalises it.
  const std::string& answer() const { return answer_; }

  const Score& score() const { return score_; }
  // The score as it stood after the latest counted check, in any file: opening another file
  // starts a new count, but what was last reported stands until that file's first check.
  const std::optional<Score>& reportedScore() const { return reported_; }
  // Its text ("3/4 75%"), or empty before the first counted check.
  std::string reportedScoreText() const;

 private:
  DrillStep begin(std::unique_ptr<QuestionFile> file);
  void present(std::shared_ptr<const Question> q);
  void noQuestion(Phase phase);
  void startAttempt();
  DrillStep prompted(Change change) const;
  CheckedAttempt attempt(Verdict verdict) const;
  // The next question of the file, or of the review round; none at the end.
  std::shared_ptr<const Question> nextQuestion(bool& reviewBegins);
  void rebuildSentence();

  std::function<std::uint64_t()> shuffleSeed_;
  DrillOptions options_;
  ReviewRound review_;
  std::unique_ptr<QuestionFile> file_;
  std::size_t recordsRead_ = 0;  // from file_, for the questions' numbers
  Phase phase_ = Phase::NoQuestion;
  std::shared_ptr<const Question> question_;
  std::shared_ptr<const std::string> prompt_;
  std::array<std::string, kMaxWords> words_;
  std::int32_t toPlace_ = -1;
  bool revealed_ = false;
  std::vector<std::size_t> placed_;
  bool markGiven_ = false;
  std::string sentence_;
  std::string answer_;
  bool counted_ = false;  // this question's first check has been counted
  bool missed_ = false;   // its first check was wrong, or its answer shown
  bool rightChecked_ = false;
  bool answerShown_ = false;
  std::int32_t checks_ = 0;  // checks of this question
  Score score_;
  std::optional<Score> reported_;
};

}  // namespace orvane
