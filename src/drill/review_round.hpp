// The review round: the questions a learner missed in the first round through a file (first
// check wrong, skipped, or answer shown), asked once more in the file's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "drill/question.hpp"

namespace orvane {

class ReviewRound {
 public:
  // A new file: nothing missed yet, the first round.
  void restart();
  // The question on show is left (Next, or the end of the questions); `missed` as the learner
  // did on it. Only the first round's questions are kept.
  void leave(const std::shared_ptr<const Question>& q, bool missed);
  // At the end of the first round, with something missed: the review begins. False otherwise.
  bool begin();
  // The next question to review, or none when the review is done.
  std::shared_ptr<const Question> next();
  // 1 in the first round, 2 in the review.
  std::int32_t round() const { return reviewing_ ? 2 : 1; }

 private:
  std::vector<std::shared_ptr<const Question>> missed_;
  std::size_t nextAt_ = 0;
  bool reviewing_ = false;
};

}  // namespace orvane
