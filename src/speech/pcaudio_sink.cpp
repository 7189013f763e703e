#include "speech/pcaudio_sink.hpp"

#include <pcaudiolib/audio.h>

#include <cstdlib>

namespace orvane {

PcaudioSink::~PcaudioSink() {
  close();
}

void PcaudioSink::askForShortBuffer() {
  ::setenv("PULSE_LATENCY_MSEC", "40", 0);  // kept when the user has set one
}

void PcaudioSink::open(int sampleRate) {
  close();
  audio_object* object = create_audio_device_object(nullptr, "orvane", "Orvane");
  if (!object) throw AudioError("no sound device");
  const int err =
      audio_object_open(object, AUDIO_OBJECT_FORMAT_S16LE, static_cast<uint32_t>(sampleRate), 1);
  if (err != 0) {
    const std::string reason = audio_object_strerror(object, err);
    audio_object_destroy(object);
    throw AudioError("no sound device: " + reason);
  }
  object_ = object;
}

void PcaudioSink::write(const std::int16_t* samples, std::size_t count) {
  if (!object_) throw AudioError("the sound device is not open");
  const int err = audio_object_write(object_, samples, count * sizeof(std::int16_t));
  if (err != 0) {
    const std::string reason = audio_object_strerror(object_, err);
    close();
    throw AudioError("the sound device failed: " + reason);
  }
}

void PcaudioSink::endOfUtterance() {
  if (object_ && audio_object_drain(object_) != 0) close();
}

void PcaudioSink::close() {
  if (!object_) return;
  audio_object_close(object_);
  audio_object_destroy(object_);
  object_ = nullptr;
}

}  // namespace orvane
