// Where synthesised speech goes: 16-bit mono PCM at the engine's rate. The engine's worker
// thread is the only caller, so a sink may block in write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvane {

class AudioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Throws AudioError when there is no device to play on.
  virtual void open(int sampleRate) = 0;
  virtual bool isOpen() const = 0;
  // Throws AudioError when the device fails; the sink is then closed.
  virtual void write(const std::int16_t* samples, std::size_t count) = 0;
  // One utterance has been written whole.
  virtual void endOfUtterance() {}
  // Drops what is written but not yet played (an utterance cut off).
  virtual void flush() {}
  // How the sink sees that what it still plays is no longer wanted (a newer caption, the engine
  // going): a sink that waits for its sound to be played stops waiting then and drops the rest.
  void setCancelled(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }
  virtual void close() = 0;

 protected:
  bool cancelled() const { return cancelled_ && cancelled_(); }

 private:
  std::function<bool()> cancelled_;
};

// Keeps everything in memory: for tests, benchmarks and writing WAV files.
class CaptureSink : public AudioSink {
 public:
  void open(int sampleRate) override;
  bool isOpen() const override;
  void write(const std::int16_t* samples, std::size_t count) override;
  void endOfUtterance() override;
  void close() override;

  std::vector<std::int16_t> samples() const;
  // Sample counts at which each utterance ended.
  std::vector<std::size_t> utteranceEnds() const;
  // Writes a 16-bit mono WAV file; throws AudioError on failure.
  void writeWav(const std::string& path) const;

 protected:
  mutable std::mutex mutex_;
  bool open_ = false;
  int rate_ = 0;
  std::vector<std::int16_t> samples_;
  std::vector<std::size_t> ends_;
};

}  // namespace orvane
