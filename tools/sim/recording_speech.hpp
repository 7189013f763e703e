// A speech adapter that speaks nothing and reports every utterance as it is handed over: the
// headless runner and the tests listen through it.
#pragma once

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/speech_control.hpp"

namespace orvane {

struct VoiceModeInfo {
  std::int32_t language;
  std::string title;
};

class RecordingSpeech : public SpeechControl {
 public:
  RecordingSpeech(std::vector<VoiceModeInfo> modes, std::int32_t rate, std::int32_t minRate,
                  std::int32_t lastError);

  // Called for every utterance as it is handed over; its text is only lent for the call.
  void onSay(std::function<void(const Utterance&)> listener) { listener_ = std::move(listener); }

  std::int32_t defaultRate() override { return rate_; }
  std::int32_t minRate() override { return minRate_; }
  std::int32_t lastError() override { return lastError_; }
  std::int32_t voiceModeCount() override { return static_cast<std::int32_t>(modes_.size()); }
  std::string voiceModeTitle(std::int32_t mode) override;
  std::int32_t voiceModeLanguage(std::int32_t mode) override;
  void speak(const Utterance& u) override;
  // The runner's simulated clock. With it, every utterance is taken to last kMsPerCharacter for
  // each character of its text, one after the other (a focus caption cuts a caption still
  // speaking), so that a scan that waits for speech can be scripted.
  static constexpr std::int64_t kMsPerCharacter = 80;
  void setClock(const std::int64_t* clockMs) { clockMs_ = clockMs; }
  bool speaking() override { return speakingForMs() > 0; }
  // How long the speech handed over so far still speaks.
  std::int64_t speakingForMs() const;
  // Tests: the modes past the first `count` are a speech server's; wantServerVoices() is counted.
  void setBuiltInVoiceModes(std::int32_t count) { builtIn_ = count; }
  std::int32_t builtInVoiceModeCount() override { return builtIn_; }
  void wantServerVoices() override { ++serverVoicesWanted; }
  int serverVoicesWanted = 0;
  // Tests: the server's voices are still being listed.
  bool serverVoicesPending() override { return serverVoicesListing; }
  bool serverVoicesListing = false;

 private:
  const VoiceModeInfo& info(std::int32_t mode) const;

  std::vector<VoiceModeInfo> modes_;
  std::int32_t rate_;
  std::int32_t minRate_;
  std::int32_t lastError_;
  std::function<void(const Utterance&)> listener_;
  const std::int64_t* clockMs_ = nullptr;
  std::int64_t speechEndsMs_ = 0;
  bool captionSpeaking_ = false;  // the last utterance was a focus caption
  std::int32_t builtIn_ = std::numeric_limits<std::int32_t>::max();
};

}  // namespace orvane
