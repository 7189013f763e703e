// eSpeak NG's voices: Japanese (fed kana by the Japanese reader) and every other language it
// has, English (America) with its clearer Klatt variant among them. eSpeak NG is set up once per
// process and kept: shutting it down and starting it again can leave its threads waiting on each
// other.
#pragma once

#include <string>

#include "speech/voice_source.hpp"

namespace orvane {

class EspeakVoices : public VoiceSource {
 public:
  // `dataPath`: eSpeak NG's data folder; empty for its own default.
  explicit EspeakVoices(std::string dataPath) : dataPath_(std::move(dataPath)) {}

  bool start() override;
  std::vector<EngineVoice> voices() override;
  int sampleRate() const override;
  void synthesise(const std::string& identifier, std::int32_t wordsPerMinute,
                  const std::string& text, const SampleSink& sink) override;
  bool synthesiseMarkup(const std::string& identifier, std::int32_t wordsPerMinute,
                        const std::string& ssml, const SampleSink& sink) override;

 private:
  void speak(const std::string& identifier, std::int32_t wordsPerMinute, const std::string& text,
             unsigned flags, const SampleSink& sink);

  std::string dataPath_;
};

}  // namespace orvane
