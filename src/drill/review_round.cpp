#include "drill/review_round.hpp"

namespace orvane {

void ReviewRound::restart() {
  *this = ReviewRound{};
}

void ReviewRound::leave(const std::shared_ptr<const Question>& q, bool missed) {
  if (!reviewing_ && q && missed) missed_.push_back(q);
}

bool ReviewRound::begin() {
  if (reviewing_ || missed_.empty()) return false;
  reviewing_ = true;
  nextAt_ = 0;
  return true;
}

std::shared_ptr<const Question> ReviewRound::next() {
  if (!reviewing_ || nextAt_ >= missed_.size()) return nullptr;
  return missed_[nextAt_++];
}

}  // namespace orvane
