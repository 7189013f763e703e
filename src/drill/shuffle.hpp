// The word shuffle. It keeps the classic pass structure on purpose: the passes stop at slot 3 and
// a partner may be one past the pass index, so three words can only come in three orders.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

// A small, fully specified generator (splitmix64 with unbiased draws), so a
// given seed gives the same order on every platform and build.
class ShuffleRandom {
 public:
  explicit ShuffleRandom(std::uint64_t seed);
  // Uniform in [0, bound), bound > 0.
  std::uint32_t below(std::uint32_t bound);

 private:
  std::uint64_t next();
  std::uint64_t state_;
};

// Shuffles positions 2..n+1 of `slots`, where n is the number of words (at most 7).
void shuffleSlots(std::array<std::string, 10>& slots, std::int32_t n, ShuffleRandom& random);

}  // namespace orvane
