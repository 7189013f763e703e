// A speech adapter that speaks nothing and reports every utterance with its mode and speed:
// the headless runner and the tests listen through it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/speech_control.hpp"

namespace orvane {

struct VoiceModeInfo {
  std::int32_t language;
  std::string title;
};

// What is handed to a listener: the text is only lent for the call, so a prompt of any length
// is never copied on its way to a transcript.
struct Utterance {
  std::int32_t mode;
  std::int32_t speed;
  std::string_view text;
};

class RecordingSpeech : public SpeechControl {
 public:
  RecordingSpeech(std::vector<VoiceModeInfo> modes, std::int32_t speed, std::int32_t minSpeed,
                  std::int32_t lastError);

  // Called for every utterance as it is handed over.
  void onSay(std::function<void(const Utterance&)> listener) { listener_ = std::move(listener); }

  void setCurrentMode(std::int32_t mode) override { mode_ = mode; }
  std::int32_t currentMode() const { return mode_; }
  std::int32_t speed() override { return speed_; }
  void setSpeed(std::int32_t speed) override { speed_ = speed; }
  std::int32_t minSpeed() override { return minSpeed_; }
  std::int32_t lastError() override { return lastError_; }
  std::int32_t voiceModeCount() override { return static_cast<std::int32_t>(modes_.size()); }
  void sayText(const std::string& text) override;
  std::string voiceModeTitle(std::int32_t mode) override;
  std::int32_t voiceModeLanguage(std::int32_t mode) override;

 private:
  const VoiceModeInfo& info(std::int32_t mode) const;
  std::int32_t modeCount() const { return static_cast<std::int32_t>(modes_.size()); }

  std::vector<VoiceModeInfo> modes_;
  std::int32_t mode_ = 0;
  std::int32_t speed_;
  std::int32_t minSpeed_;
  std::int32_t lastError_;
  std::function<void(const Utterance&)> listener_;
};

}  // namespace orvane
