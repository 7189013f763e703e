// The sound device: PulseAudio's server when there is one (its stream set up for speech), and
// otherwise libpcaudio, which reaches ALSA.
#pragma once

#include <memory>

#include "speech/audio_sink.hpp"
#include "speech/pcaudio_sink.hpp"
#include "speech/pulse_sink.hpp"

namespace orvane {

class DeviceSink : public AudioSink {
 public:
  DeviceSink();
  // When the environment names a file in ORVANE_SOUND_REPORT, a line "underruns N" is added to
  // it: the times the sound broke up in the middle of an utterance (the window's soak counts
  // them).
  ~DeviceSink() override;
  DeviceSink(const DeviceSink&) = delete;
  DeviceSink& operator=(const DeviceSink&) = delete;

  void open(int sampleRate) override;
  bool isOpen() const override { return active_ && active_->isOpen(); }
  void write(const std::int16_t* samples, std::size_t count) override;
  void endOfUtterance() override;
  void flush() override;
  void close() override;

 private:
  PulseSink pulse_;
  PcaudioSink pcaudio_;
  AudioSink* active_ = nullptr;
};

}  // namespace orvane
