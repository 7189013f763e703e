// The word shuffle. It keeps the classic pass structure on purpose: the passes stop at the second
// word and a partner may be one past the pass index, so three words can only come in three orders
// and the last of seven never comes first.
#pragma once

#include <cstdint>
#include <span>
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

// Shuffles the words in place, whatever they hold: an empty one moves like a word.
void shuffleWords(std::span<std::string> words, ShuffleRandom& random);

}  // namespace orvane
