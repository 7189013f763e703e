#include "drill/shuffle.hpp"

#include <algorithm>
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

void shuffleSlots(std::array<std::string, 10>& slots, std::int32_t n, ShuffleRandom& random) {
  n = std::min<std::int32_t>(n, 7);
  for (std::int32_t i = n; i >= 3; --i) {
    const auto r = static_cast<std::int32_t>(random.below(static_cast<std::uint32_t>(i)));
    std::swap(slots[static_cast<std::size_t>(i)], slots[static_cast<std::size_t>(2 + r)]);
  }
}

}  // namespace orvane
