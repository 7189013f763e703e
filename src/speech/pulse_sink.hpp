// The sound device through PulseAudio (or PipeWire's PulseAudio server), with a playback stream
// set for speech:
// - a short target length, so that the server plays what it is given at once;
// - a small pre-buffer, so that an utterance starts to play with its first piece instead of
//   waiting for the buffer to fill (Flite hands its first samples over in small steps);
// - writes run ahead of playing by up to kLookAheadMs, so that the synthesiser's pause between
//   two pieces of a long text never lets the device run dry. A cut-off drops what is queued.
// The stream stays open between utterances.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "speech/audio_sink.hpp"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_operation;

namespace orvane {

class PulseSink : public AudioSink {
 public:
  // The buffer, in milliseconds of sound.
  static constexpr int kTargetMs = 40;      // what the server keeps queued at most
  static constexpr int kPrebufferMs = 5;    // what must be there before playing starts
  static constexpr int kRequestMs = 10;     // the least the server asks for at a time
  static constexpr int kLookAheadMs = 300;  // how far writing runs ahead of playing
  static constexpr int kPollMs = 5;         // how often a full buffer is looked at again
  // A server that takes no sound for this long has stalled (stopped for a while, then going on
  // with its place lost: it waits for data while the stream's timing says the buffer is full).
  // Writing goes on without waiting for room, rather than waiting for good, until the stream's
  // timing shows room again; a drain is not waited on for longer than its sound could last.
  static constexpr int kStallMs = 1000;
  // How long a server may take to accept the stream before it counts as missing.
  static constexpr int kConnectTimeoutMs = 2000;

  PulseSink() = default;
  ~PulseSink() override;
  PulseSink(const PulseSink&) = delete;
  PulseSink& operator=(const PulseSink&) = delete;

  void open(int sampleRate) override;
  bool isOpen() const override { return stream_ != nullptr; }
  void write(const std::int16_t* samples, std::size_t count) override;
  // Plays out what is buffered and waits until it has been played.
  void endOfUtterance() override;
  void flush() override;
  void close() override;

  // Times the device ran dry in the middle of an utterance since the sink was made (the sound
  // broke up); the silence between utterances does not count.
  std::uint64_t underruns() const { return underruns_; }

 private:
  struct Callbacks;
  // Waits on the main loop (its lock held) until `ready`, or `timeoutMs` have passed when it is
  // positive; returns `ready`.
  bool waitUntil(const std::function<bool()>& ready, int timeoutMs);
  // Whether the sound written but not yet played is short of kLookAheadMs.
  bool roomForMore();
  // Waits for a stream operation to end, or until cancelled() when `cancellable`; false when the
  // stream failed meanwhile.
  // A positive `giveUpMs` bounds the wait: the operation is then cancelled and counts as done.
  bool runOperation(pa_operation* op, bool cancellable = false, int giveUpMs = 0);
  // Drops what is queued and waits, a little at most, to learn the stream's new write position
  // (the loop's lock held); false when the stream failed.
  bool flushStream();
  [[noreturn]] void fail(const char* what);

  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  bool speaking_ = false;            // under the loop's lock: an utterance is being written
  std::int64_t utteranceBytes_ = 0;  // under the loop's lock: written of that utterance
  bool operationDone_ = false;
  bool timedOut_ = false;
  std::atomic<std::uint64_t> underruns_{0};
  bool stalled_ = false;  // under the loop's lock: the server stalled; write without waiting
};

}  // namespace orvane
