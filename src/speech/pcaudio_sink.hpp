// The sound device through libpcaudio, where no PulseAudio server answers (ALSA). The output
// stays open between utterances, so the first syllable after a pause is not clipped.
#pragma once

#include "speech/audio_sink.hpp"

struct audio_object;

namespace orvane {

class PcaudioSink : public AudioSink {
 public:
  PcaudioSink() = default;
  ~PcaudioSink() override;
  PcaudioSink(const PcaudioSink&) = delete;
  PcaudioSink& operator=(const PcaudioSink&) = delete;

  void open(int sampleRate) override;
  bool isOpen() const override { return object_ != nullptr; }
  void write(const std::int16_t* samples, std::size_t count) override;
  // Plays out what is buffered: a short caption must not wait for the buffer to fill.
  void endOfUtterance() override;
  void flush() override;
  void close() override;

 private:
  audio_object* object_ = nullptr;
};

}  // namespace orvane
