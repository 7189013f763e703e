#include "drill/drill.hpp"

#include <algorithm>
#include <span>

#include "core/text.hpp"
#include "drill/question_record.hpp"
#include "drill/right_beginning.hpp"
#include "drill/shuffle.hpp"

namespace orvane {

namespace {
DrillStep stepOf(Change change) {
  return {change, {}, std::nullopt, std::nullopt};
}

std::shared_ptr<const Question> readQuestion(QuestionFile& file, std::size_t number) {
  return std::make_shared<const Question>(questionFrom(readRecord(file), number));
}
}  // namespace

Drill::Drill(std::function<std::uint64_t()> shuffleSeed)
    : shuffleSeed_(std::move(shuffleSeed)),
      file_(std::make_unique<QuestionFile>()),
      prompt_(std::make_shared<const std::string>()) {}

Drill::~Drill() = default;

DrillStep Drill::open(const std::string& path) {
  auto file = std::make_unique<QuestionFile>();
  file->open(path);
  return begin(std::move(file));
}

DrillStep Drill::openText(std::string bytes) {
  auto file = std::make_unique<QuestionFile>();
  file->openBytes(std::move(bytes));
  return begin(std::move(file));
}

DrillStep Drill::begin(std::unique_ptr<QuestionFile> file) {
  std::shared_ptr<const Question> first;
  if (file->atEnd()) {
    file->close();  // nothing to read on: Next then finds the questions over
  } else {
    file->readLine();  // the first marker line, not looked at
    first = readQuestion(*file, 1);
  }
  file_ = std::move(file);
  recordsRead_ = first ? 1 : 0;
  score_ = Score{};
  review_.restart();
  if (first) {
    present(std::move(first));
  } else {
    noQuestion(Phase::NoQuestion);
  }
  return prompted(Change::FileOpened);
}

DrillStep Drill::next() {
  if (phase_ == Phase::Over) return {};
  std::optional<CheckedAttempt> skipped;
  if (question_ && !rightChecked_ && !answerShown_) skipped = attempt(Verdict::Skipped);
  review_.leave(question_, missed_ || !rightChecked_);
  bool reviewBegins = false;
  std::shared_ptr<const Question> q = nextQuestion(reviewBegins);
  if (q) {
    present(std::move(q));
  } else {
    noQuestion(Phase::Over);
    prompt_ = std::make_shared<const std::string>(kClosingInstruction);
  }
  DrillStep step = prompted(Change::NextQuestion);
  if (reviewBegins)
    step.toSay.insert(step.toSay.begin(), {Language::Japanese, kReviewAnnouncement});
  step.closed = std::move(skipped);
  return step;
}

std::shared_ptr<const Question> Drill::nextQuestion(bool& reviewBegins) {
  if (review_.round() == 2) return review_.next();
  std::shared_ptr<const Question> q;
  if (readMarker(*file_) == Marker::Question) {
    q = readQuestion(*file_, recordsRead_ + 1);
    ++recordsRead_;
  }
  ++score_.asked;
  if (!q && options_.reviewMissed && review_.begin()) {
    reviewBegins = true;
    return review_.next();
  }
  return q;
}

void Drill::present(std::shared_ptr<const Question> q) {
  words_ = q->words;
  toPlace_ = q->wordsToPlace();
  // Only the first positions take part, as many as there are words to place: an empty word line
  // among them moves like a word, a word after them keeps its place.
  ShuffleRandom random(shuffleSeed_());
  shuffleWords(std::span(words_).first(static_cast<std::size_t>(
                   std::clamp<std::int32_t>(toPlace_, 0, static_cast<std::int32_t>(kMaxWords)))),
               random);
  answer_ = q->answer;
  prompt_ = std::shared_ptr<const std::string>(q, &q->prompt);
  question_ = std::move(q);
  phase_ = Phase::QuestionShown;
  revealed_ = false;
  counted_ = false;
  missed_ = rightChecked_ = answerShown_ = false;
  checks_ = 0;
  startAttempt();
}

void Drill::noQuestion(Phase phase) {
  question_.reset();
  words_ = {};
  toPlace_ = -1;
  answer_.clear();
  phase_ = phase;
  revealed_ = false;
  counted_ = false;
  missed_ = rightChecked_ = answerShown_ = false;
  checks_ = 0;
  startAttempt();
}

void Drill::startAttempt() {
  placed_.clear();
  markGiven_ = false;
  sentence_.clear();
}

DrillStep Drill::prompted(Change change) const {
  return {change, {{Language::Japanese, *prompt_}}, std::nullopt, std::nullopt};
}

DrillStep Drill::reveal() {
  if (phase_ != Phase::QuestionShown) return {};
  revealed_ = true;
  phase_ = Phase::Placing;
  return stepOf(Change::WordsRevealed);
}

bool Drill::wordOnOffer(std::size_t word) const {
  return revealed_ && word < kMaxWords && !words_[word].empty() &&
         std::find(placed_.begin(), placed_.end(), word) == placed_.end();
}

std::int32_t Drill::wordsLeft() const {
  return toPlace_ - static_cast<std::int32_t>(placed_.size());
}

DrillStep Drill::placeWord(std::size_t word) {
  if (!wordOnOffer(word)) return {};
  sentence_ += ' ';
  sentence_ += placed_.empty() ? text::capitaliseFirst(words_[word]) : words_[word];
  placed_.push_back(word);
  return stepOf(Change::WordPlaced);
}

DrillStep Drill::placeMark(char mark) {
  if (!marksOnOffer()) return {};
  sentence_ += mark;
  markGiven_ = true;
  if (wordsLeft() == 0) phase_ = Phase::SentenceClosed;
  return stepOf(Change::MarkPlaced);
}

DrillStep Drill::check() {
  if (phase_ == Phase::NoQuestion) return stepOf(Change::NothingToCheck);
  const bool closed = phase_ == Phase::SentenceClosed || phase_ == Phase::CheckedRight ||
                      phase_ == Phase::CheckedWrong;
  if (!closed || text::trim(answer_).empty()) return {};

  std::string built = text::trim(sentence_);
  // The model answer keeps its trimmed, capitalised form: Answer shows it so from now on.
  answer_ = text::capitaliseFirst(text::trim(answer_));
  const bool right = built == answer_;  // byte for byte: case counts
  // The review round is practice: the score stays as the first round left it.
  const bool counted = !counted_ && review_.round() == 1;
  if (counted) {
    if (right) ++score_.right;
    reported_ = score_;
  }
  if (checks_ == 0 && !right) missed_ = true;
  counted_ = true;
  rightChecked_ = rightChecked_ || right;
  ++checks_;
  phase_ = right ? Phase::CheckedRight : Phase::CheckedWrong;
  // The sentence is spoken as built, with the blank before its first word.
  DrillStep step{Change::Checked, {{Language::English, sentence_}}, std::nullopt, std::nullopt};
  step.checked = CheckedAttempt{question_, checks_, std::move(built),
                                answer_,   right,   counted,
                                score_,    round(), right ? Verdict::Right : Verdict::Wrong};
  return step;
}

DrillStep Drill::erase() {
  if (!revealed_) return {};
  std::size_t keep = 0;
  if (options_.keepRightWords && phase_ == Phase::CheckedWrong) {
    std::vector<std::string> words;
    for (std::size_t i : placed_) words.push_back(words_[i]);
    keep = rightBeginning(words, answer_);
  }
  // The words kept stay placed; every other word, and the closing marks, go back on offer.
  placed_.resize(keep);
  markGiven_ = false;
  rebuildSentence();
  phase_ = Phase::Placing;
  return stepOf(Change::Erased);
}

void Drill::rebuildSentence() {
  sentence_.clear();
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    sentence_ += ' ';
    sentence_ += i == 0 ? text::capitaliseFirst(words_[placed_[i]]) : words_[placed_[i]];
  }
}

CheckedAttempt Drill::attempt(Verdict verdict) const {
  CheckedAttempt a{question_,
                   checks_,
                   text::trim(sentence_),
                   text::capitaliseFirst(text::trim(answer_)),
                   false,
                   false,
                   score_,
                   round(),
                   verdict};
  return a;
}

DrillStep Drill::showAnswer() {
  if (phase_ == Phase::Over) return {};
  std::optional<CheckedAttempt> shown;
  if (question_) {
    shown = attempt(Verdict::AnswerShown);
    missed_ = answerShown_ = true;
  }
  // It replaces the sentence: words still on offer are placed after it.
  sentence_ = answer_;
  phase_ = Phase::AnswerShown;
  DrillStep step{Change::AnswerShown, {{Language::English, sentence_}}, std::nullopt, std::nullopt};
  step.closed = std::move(shown);
  return step;
}

DrillStep Drill::end() {
  file_->close();
  return stepOf(Change::Ended);
}

std::string Drill::reportedScoreText() const {
  return reported_ ? scoreText(*reported_) : std::string();
}

}  // namespace orvane
