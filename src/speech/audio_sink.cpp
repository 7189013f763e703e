#include "speech/audio_sink.hpp"

#include <cerrno>
#include <cstring>

#include <cstdio>
#include <memory>

namespace orvane {

void CaptureSink::open(int sampleRate) {
  std::lock_guard lock(mutex_);
  rate_ = sampleRate;
  open_ = true;
}

bool CaptureSink::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

void CaptureSink::write(const std::int16_t* samples, std::size_t count) {
  std::lock_guard lock(mutex_);
  samples_.insert(samples_.end(), samples, samples + count);
}

void CaptureSink::endOfUtterance() {
  std::lock_guard lock(mutex_);
  ends_.push_back(samples_.size());
}

void CaptureSink::close() {
  std::lock_guard lock(mutex_);
  open_ = false;
}

std::vector<std::int16_t> CaptureSink::samples() const {
  std::lock_guard lock(mutex_);
  return samples_;
}

std::vector<std::size_t> CaptureSink::utteranceEnds() const {
  std::lock_guard lock(mutex_);
  return ends_;
}

void CaptureSink::writeWav(const std::string& path) const {
  std::lock_guard lock(mutex_);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) throw AudioError("cannot write " + path + ": " + std::strerror(errno));
  const auto u32 = [&](std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f.get());
  };
  const auto u16 = [&](std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f.get());
  };
  const auto bytes = static_cast<std::uint32_t>(samples_.size() * 2);
  std::fwrite("RIFF", 1, 4, f.get());
  u32(36 + bytes);
  std::fwrite("WAVEfmt ", 1, 8, f.get());
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(static_cast<std::uint32_t>(rate_));
  u32(static_cast<std::uint32_t>(rate_) * 2);
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, f.get());
  u32(bytes);
  for (std::int16_t s : samples_) u16(static_cast<std::uint16_t>(s));
  // A full disk shows only when the buffered tail is written out, at the close.
  const bool failed = std::ferror(f.get()) != 0;
  const int err = errno;
  if (std::fclose(f.release()) != 0 || failed) {
    throw AudioError("cannot write " + path + ": " + std::strerror(failed ? err : errno));
  }
}

}  // namespace orvane
