// The speech the core talks to, carried out by the page's speech module (web/js/speech.js), which
// holds the queue, cuts focus captions and picks the voice route. Each utterance goes over with
// its voice mode, rate and whether a newer caption may cut it.
#pragma once

#include "core/speech_control.hpp"
#include "web/transcript_sink.hpp"

namespace orvane::web {

class WebSpeech : public SpeechControl {
 public:
  explicit WebSpeech(TranscriptSink& transcript) : transcript_(transcript) {}

  std::int32_t defaultRate() override;
  std::int32_t minRate() override;
  std::int32_t lastError() override;
  std::int32_t voiceModeCount() override;
  std::string voiceModeTitle(std::int32_t mode) override;
  std::int32_t voiceModeLanguage(std::int32_t mode) override;
  void speak(const Utterance& u) override;
  bool speaking() override;
  void expectCaptions(std::int32_t mode, std::int32_t rate,
                      const std::vector<std::string>& texts) override;

 private:
  TranscriptSink& transcript_;
};

}  // namespace orvane::web
