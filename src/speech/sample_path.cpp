#include "speech/sample_path.hpp"

#include <cmath>
#include <cstdlib>

namespace orvane {

LeadingSilenceTrimmer::LeadingSilenceTrimmer(int sampleRate)
    : fadeLength_(static_cast<std::size_t>(sampleRate) * kFadeMs / 1000) {}

void LeadingSilenceTrimmer::reset() {
  faded_ = 0;
  sounding_ = false;
}

void LeadingSilenceTrimmer::process(const std::int16_t* in, std::size_t n,
                                    std::vector<std::int16_t>& out) {
  std::size_t i = 0;
  if (!sounding_) {
    while (i < n && std::abs(in[i]) < kThreshold) ++i;
    if (i == n) return;
    sounding_ = true;
  }
  for (; i < n && faded_ < fadeLength_; ++i, ++faded_) {
    out.push_back(static_cast<std::int16_t>(in[i] * static_cast<double>(faded_ + 1) /
                                            static_cast<double>(fadeLength_ + 1)));
  }
  out.insert(out.end(), in + i, in + n);
}

RateConverter::RateConverter(int from, int to)
    : step_(static_cast<double>(from) / static_cast<double>(to)) {}

void RateConverter::reset() {
  pos_ = 0;
  previous_ = 0;
}

void RateConverter::process(const std::int16_t* in, std::size_t n, std::vector<std::int16_t>& out) {
  if (n == 0) return;
  // Sample k of this piece is in[k]; sample -1 is the last of the piece before.
  const auto at = [&](std::ptrdiff_t k) { return k < 0 ? previous_ : in[k]; };
  const double end = static_cast<double>(n) - 1;
  for (; pos_ < end; pos_ += step_) {
    const double whole = std::floor(pos_);
    const auto k = static_cast<std::ptrdiff_t>(whole);
    const double frac = pos_ - whole;
    out.push_back(static_cast<std::int16_t>(std::lround(at(k) * (1 - frac) + at(k + 1) * frac)));
  }
  pos_ -= static_cast<double>(n);
  previous_ = in[n - 1];
}

}  // namespace orvane
