#include "drill/shuffle.hpp"

#include <utility>

namespace orvane {

ShuffleRandom::ShuffleRandom(std::uint64_t seed) : state_(seed + 0x9E3779B97F4A7C15ull) {}

std::uint64_t ShuffleRandom::next() {
  // splitmix64: every seed, 0 included, gives a well-mixed stream.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t ShuffleRandom::below(std::uint32_t bound) {
  // Rejection keeps the draw unbiased.
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
  std::uint64_t v;
  do {
    v = next();
  } while (v >= limit);
  return static_cast<std::uint32_t>(v % bound);
}

void shuffleWords(std::span<std::string> words, ShuffleRandom& random) {
  // Pass p (from the last word but one down to the second) swaps word p with any of words 0 to
  // p + 1, drawn uniformly.
  for (std::size_t p = words.size() >= 3 ? words.size() - 2 : 0; p >= 1; --p) {
    const std::size_t r = random.below(static_cast<std::uint32_t>(p + 2));
    std::swap(words[p], words[r]);
  }
}

}  // namespace orvane
