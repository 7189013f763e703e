#include "drill/drill_step.hpp"

namespace orvane {

std::string scoreText(const Score& score) {
  const std::int64_t percent =
      score.asked > 0 ? static_cast<std::int64_t>(score.right) * 100 / score.asked : 0;
  return std::to_string(score.right) + "/" + std::to_string(score.asked) + " " +
         std::to_string(percent) + "%";
}

}  // namespace orvane
