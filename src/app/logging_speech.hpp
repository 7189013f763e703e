// Passes every call on to another speech adapter and reports each utterance with the mode and
// speed in force, for a transcript of what the program said.
#pragma once

#include <functional>
#include <string>

#include "core/speech_control.hpp"

namespace orvane {

class LoggingSpeech : public SpeechControl {
 public:
  using Listener = std::function<void(std::int32_t mode, std::int32_t speed, const std::string&)>;
  LoggingSpeech(SpeechControl& inner, Listener listener)
      : inner_(inner), listener_(std::move(listener)) {}

  void setCurrentMode(std::int32_t mode) override {
    inner_.setCurrentMode(mode);
    mode_ = mode;
  }
  std::int32_t speed() override { return inner_.speed(); }
  void setSpeed(std::int32_t speed) override { inner_.setSpeed(speed); }
  std::int32_t minSpeed() override { return inner_.minSpeed(); }
  std::int32_t lastError() override { return inner_.lastError(); }
  std::int32_t voiceModeCount() override { return inner_.voiceModeCount(); }
  void sayText(const std::string& text) override {
    listener_(mode_, inner_.speed(), text);
    inner_.sayText(text);
  }
  void expectCaptions(std::int32_t mode, const std::vector<std::string>& texts) override {
    inner_.expectCaptions(mode, texts);
  }
  void sayCaption(const std::string& text) override {
    listener_(mode_, inner_.speed(), text);
    inner_.sayCaption(text);
  }
  std::string voiceModeTitle(std::int32_t mode) override { return inner_.voiceModeTitle(mode); }
  std::int32_t voiceModeLanguage(std::int32_t mode) override {
    return inner_.voiceModeLanguage(mode);
  }

 private:
  SpeechControl& inner_;
  Listener listener_;
  std::int32_t mode_ = 0;
};

}  // namespace orvane
