// What happens to samples between a synthesiser and the sink: the silence a synthesiser puts
// before the first sound is dropped, and a voice's own rate is converted to the sink's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

// Drops everything before an utterance's first audible sample and fades the sound in over a
// few milliseconds (no click), so the first sample that reaches the sink is already speech.
class LeadingSilenceTrimmer {
 public:
  // About -40 dBFS: below what anybody hears as the start of a word.
  static constexpr int kThreshold = 328;
  static constexpr int kFadeMs = 4;

  explicit LeadingSilenceTrimmer(int sampleRate);
  // A new utterance begins.
  void reset();
  // Appends what is kept of `in` to `out`.
  void process(const std::int16_t* in, std::size_t n, std::vector<std::int16_t>& out);

 private:
  std::size_t fadeLength_;
  std::size_t faded_ = 0;
  bool sounding_ = false;
};

// Converts 16-bit mono from one rate to another by linear interpolation, seamlessly across the
// pieces an utterance comes in.
class RateConverter {
 public:
  RateConverter(int from, int to);
  // A new utterance begins.
  void reset();
  void process(const std::int16_t* in, std::size_t n, std::vector<std::int16_t>& out);

 private:
  double step_;
  double pos_ = 0;             // next output position, in input samples from the current piece
  std::int16_t previous_ = 0;  // the last sample of the piece before
};

}  // namespace orvane
