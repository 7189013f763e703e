#include "speech/pcaudio_sink.hpp"

#include <dlfcn.h>
#include <pcaudiolib/audio.h>

#include <cstdlib>

namespace {
// Set while the sink itself asks libpcaudio for a device.
thread_local bool t_sinkOpening = false;
}  // namespace

// eSpeak NG opens an audio device of its own when it starts, even in a program that takes its
// samples and plays them itself, as this one does. That device is never used; it costs time at
// every start, and with a sound server that has stopped answering it never returns, which
// would hold up the start of the program for good. This definition stands in for libpcaudio's
// in the whole process: the sink reaches the real one, and eSpeak NG is told there is no device.
extern "C" audio_object* create_audio_device_object(const char* device, const char* applicationName,
                                                    const char* description) {
  using Create = audio_object* (*)(const char*, const char*, const char*);
  static const auto real =
      reinterpret_cast<Create>(::dlsym(RTLD_NEXT, "create_audio_device_object"));
  if (!t_sinkOpening || !real) return nullptr;
  return real(device, applicationName, description);
}

namespace orvane {

PcaudioSink::~PcaudioSink() {
  close();
}

void PcaudioSink::open(int sampleRate) {
  close();
  t_sinkOpening = true;
  audio_object* object = create_audio_device_object(nullptr, "orvane", "Orvane");
  t_sinkOpening = false;
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

void PcaudioSink::flush() {
  if (object_ && audio_object_flush(object_) != 0) close();
}

void PcaudioSink::close() {
  if (!object_) return;
  audio_object_close(object_);
  audio_object_destroy(object_);
  object_ = nullptr;
}

}  // namespace orvane
