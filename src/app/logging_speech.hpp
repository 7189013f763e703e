// Passes every call on to another speech adapter and reports each utterance, for a transcript of
// what the program said.
#pragma once

#include <functional>
#include <string>

#include "core/speech_control.hpp"

namespace orvane {

class LoggingSpeech : public SpeechControl {
 public:
  using Listener = std::function<void(const Utterance&)>;
  LoggingSpeech(SpeechControl& inner, Listener listener)
      : inner_(inner), listener_(std::move(listener)) {}

  std::int32_t defaultRate() override { return inner_.defaultRate(); }
  std::int32_t minRate() override { return inner_.minRate(); }
  std::int32_t lastError() override { return inner_.lastError(); }
  std::int32_t voiceModeCount() override { return inner_.voiceModeCount(); }
  std::string voiceModeTitle(std::int32_t mode) override { return inner_.voiceModeTitle(mode); }
  std::int32_t voiceModeLanguage(std::int32_t mode) override {
    return inner_.voiceModeLanguage(mode);
  }
  void speak(const Utterance& u) override {
    listener_(u);
    inner_.speak(u);
  }
  bool speaking() override { return inner_.speaking(); }
  void expectCaptions(std::int32_t mode, std::int32_t rate,
                      const std::vector<std::string>& texts) override {
    inner_.expectCaptions(mode, rate, texts);
  }

 private:
  SpeechControl& inner_;
  Listener listener_;
};

}  // namespace orvane
