// Flite's English voices (Debian's libflite voice libraries, each opened when its voice is
// first used): by the pocketsphinx
// measure far clearer English than eSpeak NG's, so they come first among the English voice
// modes, rms as the drill's English voice.
#pragma once

#include "speech/voice_source.hpp"

namespace orvane {

class FliteVoices : public VoiceSource {
 public:
  static constexpr int kSampleRate = 16000;

  bool start() override { return true; }
  // rms, slt, awb and kal16, in that order.
  std::vector<EngineVoice> voices() override;
  int sampleRate() const override { return kSampleRate; }
  // Opens the voice's library ahead of its first utterance.
  void prepare(const std::string& identifier) override;
  void synthesise(const std::string& identifier, std::int32_t wordsPerMinute,
                  const std::string& text, const SampleSink& sink) override;
};

}  // namespace orvane
