#include "speech/device_sink.hpp"

#include <cstdlib>
#include <fstream>

namespace orvane {

DeviceSink::~DeviceSink() {
  close();
  if (const char* report = std::getenv("ORVANE_SOUND_REPORT"); report && *report) {
    std::ofstream(report, std::ios::app) << "underruns " << pulse_.underruns() << '\n';
  }
}

DeviceSink::DeviceSink() {
  // The sink that plays hears of cancellation through this one.
  pulse_.setCancelled([this] { return cancelled(); });
}

void DeviceSink::open(int sampleRate) {
  close();
  try {
    pulse_.open(sampleRate);
    active_ = &pulse_;
  } catch (const AudioError&) {
    pcaudio_.open(sampleRate);  // throws when there is no device at all
    active_ = &pcaudio_;
  }
}

void DeviceSink::write(const std::int16_t* samples, std::size_t count) {
  if (!active_) throw AudioError("the sound device is not open");
  active_->write(samples, count);
}

void DeviceSink::endOfUtterance() {
  if (active_) active_->endOfUtterance();
}

void DeviceSink::flush() {
  if (active_) active_->flush();
}

void DeviceSink::close() {
  if (active_) active_->close();
  active_ = nullptr;
}

}  // namespace orvane
