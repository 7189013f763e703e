// What one operation of the drill did: the change, what is to be spoken, and for a check the
// attempt as a results record takes it. The window shows the change (app/drill_view), the voice
// speaks the texts.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drill/question.hpp"

namespace orvane {

enum class Phase {
  NoQuestion,      // no file yet, or a file with no question in it
  QuestionShown,   // a question's prompt, its words not yet on offer
  Placing,         // words and marks on offer; the sentence not yet closed with every word in it
  SentenceClosed,  // every word placed and a closing mark after them: ready to check
  CheckedRight,
  CheckedWrong,
  AnswerShown,  // the model answer stands in for the sentence
  Over,         // the file's questions are used up
};

enum class Change {
  Nothing,         // the operation does not apply where the drill stands
  FileOpened,      // a file's first question, or none when the file holds none
  NextQuestion,    // the next question, or the end of the questions (Phase::Over)
  WordsRevealed,   // the words and marks went on offer
  WordPlaced,      // a word went into the sentence
  MarkPlaced,      // a closing mark went into the sentence (Phase::SentenceClosed when complete)
  Checked,         // the sentence was compared with the model answer
  NothingToCheck,  // a check with no question loaded
  Erased,          // the sentence was started over
  AnswerShown,     // the model answer replaced the sentence
  Ended,           // the file was closed: the program ends
};

enum class Language { Japanese, English };

// What a learner may add to the drill (settings.ini); both are off by default.
struct DrillOptions {
  // At the end of a file, the questions missed in it once more, in the file's order.
  bool reviewMissed = false;
  // Erase after a wrong check keeps the placed words the model answer begins with.
  bool keepRightWords = false;
};

// A text to be spoken in the learner's voice for its language. The text is lent: it stays valid
// until the drill's next operation.
struct ToSay {
  Language language;
  std::string_view text;
};

struct Score {
  std::int32_t asked = 1;  // questions presented in this file, the current one included
  std::int32_t right = 0;  // questions whose first check was right
};

// "3/4 75%": right answers, questions asked and the percentage, cut to a whole number.
std::string scoreText(const Score& score);

enum class Verdict { Right, Wrong, Skipped, AnswerShown };

// One check, or an attempt that ended without one, as a results record keeps it.
struct CheckedAttempt {
  std::shared_ptr<const Question> question;  // its number in the file, prompt and words
  std::int32_t attempt = 1;                  // 1 for the question's first check
  std::string sentence;                      // the learner's, trimmed, as compared
  std::string answer;                        // the model answer as compared
  bool right = false;
  bool counted = false;    // the question's first check: the one the score counts
  Score score;             // after this check
  std::int32_t round = 1;  // 2 in the review round
  Verdict verdict = Verdict::Wrong;

  // A question the learner did not get right the first time: one for a review round.
  bool missed() const { return counted && !right; }
};

struct DrillStep {
  Change change = Change::Nothing;
  std::vector<ToSay> toSay;  // in order
  std::optional<CheckedAttempt> checked;
  // An attempt that ended without a check: the answer shown, or the question left by Next
  // before a right check.
  std::optional<CheckedAttempt> closed;
};

}  // namespace orvane
