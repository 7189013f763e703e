#include "speech/pulse_sink.hpp"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace orvane {

namespace {
// Holds the main loop's lock for a scope; callbacks run on the loop's thread under it.
class LoopLock {
 public:
  explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
  ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
  LoopLock(const LoopLock&) = delete;
  LoopLock& operator=(const LoopLock&) = delete;

 private:
  pa_threaded_mainloop* loop_;
};

std::uint32_t bytesFor(int ms, const pa_sample_spec& format) {
  return static_cast<std::uint32_t>(pa_usec_to_bytes(static_cast<pa_usec_t>(ms) * 1000, &format));
}
}  // namespace

PulseSink::~PulseSink() {
  close();
}

struct PulseSink::Callbacks {
  static void signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }
  static void contextState(pa_context*, void* self) {
    signal(static_cast<PulseSink*>(self)->loop_);
  }
  static void streamState(pa_stream*, void* self) { signal(static_cast<PulseSink*>(self)->loop_); }
  static void writable(pa_stream*, std::size_t, void* self) {
    signal(static_cast<PulseSink*>(self)->loop_);
  }
  static void timingUpdated(pa_stream*, void* self) {
    signal(static_cast<PulseSink*>(self)->loop_);
  }
  static void underflow(pa_stream* stream, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    if (!sink->speaking_) return;
    // The server tells of running dry a little after the fact, and where in the stream it did.
    // At or before the utterance's first byte it is no break: the last utterance's end, the
    // flush that cut it off, or a first piece shorter than the pre-buffer waiting for more.
    const std::int64_t at = pa_stream_get_underflow_index(stream);
    const pa_timing_info* timing = pa_stream_get_timing_info(stream);
    if (at >= 0 && timing && !timing->write_index_corrupt &&
        at <= timing->write_index - sink->utteranceBytes_) {
      return;
    }
    ++sink->underruns_;
  }
  static void done(pa_stream*, int, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    sink->operationDone_ = true;
    signal(sink->loop_);
  }
  static void timedOut(pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    sink->timedOut_ = true;
    signal(sink->loop_);
  }
};

bool PulseSink::waitUntil(const std::function<bool()>& ready, int timeoutMs) {
  timedOut_ = false;
  pa_time_event* timer = nullptr;
  if (timeoutMs > 0) {
    timer = pa_context_rttime_new(context_, pa_rtclock_now() + timeoutMs * PA_USEC_PER_MSEC,
                                  &Callbacks::timedOut, this);
  }
  while (!ready() && !timedOut_) pa_threaded_mainloop_wait(loop_);
  if (timer) pa_threaded_mainloop_get_api(loop_)->time_free(timer);
  return ready();
}

void PulseSink::open(int sampleRate) {
  close();
  loop_ = pa_threaded_mainloop_new();
  if (!loop_ || pa_threaded_mainloop_start(loop_) < 0) {
    close();
    throw AudioError("no sound device: PulseAudio's main loop did not start");
  }
  const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sampleRate), 1};
  {
    LoopLock lock(loop_);
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Orvane");
    if (context_) {
      pa_context_set_state_callback(context_, &Callbacks::contextState, this);
      if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
          !waitUntil(
              [this] {
                return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) ||
                       pa_context_get_state(context_) == PA_CONTEXT_READY;
              },
              kConnectTimeoutMs) ||
          pa_context_get_state(context_) != PA_CONTEXT_READY) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
      }
    }
    if (context_) {
      stream_ = pa_stream_new(context_, "Orvane", &format, nullptr);
      if (stream_) {
        pa_stream_set_state_callback(stream_, &Callbacks::streamState, this);
        pa_stream_set_write_callback(stream_, &Callbacks::writable, this);
        pa_stream_set_underflow_callback(stream_, &Callbacks::underflow, this);
        pa_stream_set_latency_update_callback(stream_, &Callbacks::timingUpdated, this);
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = bytesFor(kTargetMs, format);
        attr.prebuf = bytesFor(kPrebufferMs, format);
        attr.minreq = bytesFor(kRequestMs, format);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        const auto settled = [this] {
          const pa_stream_state_t s = pa_stream_get_state(stream_);
          return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
        };
        if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0 ||
            !waitUntil(settled, kConnectTimeoutMs) ||
            pa_stream_get_state(stream_) != PA_STREAM_READY) {
          pa_stream_disconnect(stream_);
          pa_stream_unref(stream_);
          stream_ = nullptr;
        }
      }
    }
  }
  if (!stream_) {
    close();
    throw AudioError("no sound device: no PulseAudio server took the stream");
  }
}

bool PulseSink::roomForMore() {
  // A server that says it is not playing and holds less than the look-ahead is waiting for
  // sound (after a stall, for its pre-buffer to fill), whatever the latency interpolated from
  // before the stall says.
  const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
  if (timing && !timing->write_index_corrupt && !timing->read_index_corrupt && !timing->playing &&
      timing->write_index - timing->read_index <
          static_cast<std::int64_t>(pa_usec_to_bytes(kLookAheadMs * PA_USEC_PER_MSEC,
                                                     pa_stream_get_sample_spec(stream_)))) {
    return true;
  }
  pa_usec_t ahead = 0;
  int negative = 0;
  if (pa_stream_get_latency(stream_, &ahead, &negative) == 0) {
    return negative || ahead < static_cast<pa_usec_t>(kLookAheadMs) * PA_USEC_PER_MSEC;
  }
  // No timing yet: what the server asks for.
  const std::size_t room = pa_stream_writable_size(stream_);
  return room > 0 && room != static_cast<std::size_t>(-1);
}

void PulseSink::write(const std::int16_t* samples, std::size_t count) {
  if (!stream_) throw AudioError("the sound device is not open");
  bool failed = false;
  {
    LoopLock lock(loop_);
    if (!speaking_) utteranceBytes_ = 0;
    speaking_ = true;
    const auto readyOrFailed = [&] {
      failed = pa_stream_get_state(stream_) != PA_STREAM_READY;
      return failed || roomForMore();
    };
    // Room comes as the server plays; a cut or a stall ends the wait. Once stalled, sound is
    // written as it comes until the stream's timing shows room again.
    const pa_usec_t giveUpAt = pa_rtclock_now() + kStallMs * PA_USEC_PER_MSEC;
    if (readyOrFailed()) stalled_ = false;
    while (!stalled_ && !readyOrFailed()) {
      if (cancelled()) return;  // the engine drops what is queued
      if (pa_rtclock_now() >= giveUpAt) {
        stalled_ = true;
        break;
      }
      waitUntil([&] { return readyOrFailed() || cancelled(); }, kPollMs);
    }
    const std::size_t bytes = count * sizeof(std::int16_t);
    failed = failed || pa_stream_write(stream_, samples, bytes, nullptr, 0, PA_SEEK_RELATIVE) < 0;
    utteranceBytes_ += static_cast<std::int64_t>(bytes);
  }
  if (failed) fail("the sound device failed");
}

bool PulseSink::runOperation(pa_operation* op, bool cancellable, int giveUpMs) {
  if (!op) return false;
  operationDone_ = false;
  const auto over = [&] {
    return operationDone_ || pa_operation_get_state(op) != PA_OPERATION_RUNNING ||
           pa_stream_get_state(stream_) != PA_STREAM_READY;
  };
  const pa_usec_t giveUpAt = pa_rtclock_now() + giveUpMs * PA_USEC_PER_MSEC;
  bool gaveUp = false;
  while (!over()) {
    // A wait that may be given up looks again every few milliseconds.
    const bool bounded = cancellable || giveUpMs > 0;
    waitUntil([&] { return over() || (cancellable && (gaveUp = cancelled())); },
              bounded ? kPollMs : 0);
    if (!gaveUp && giveUpMs > 0 && pa_rtclock_now() >= giveUpAt) gaveUp = true;
    if (gaveUp) break;
  }
  if (gaveUp) pa_operation_cancel(op);
  pa_operation_unref(op);
  return pa_stream_get_state(stream_) == PA_STREAM_READY;
}

void PulseSink::endOfUtterance() {
  if (!stream_) return;
  bool ok;
  {
    LoopLock lock(loop_);
    // The device running dry once all is played is the utterance's end, not a break.
    speaking_ = false;
    // Up to kLookAheadMs is still to play: a newer caption does not wait for it.
    // A stalled server may never say it has drained: what follows is not held up for good.
    const auto utteranceMs =
        static_cast<int>(pa_bytes_to_usec(static_cast<std::uint64_t>(utteranceBytes_),
                                          pa_stream_get_sample_spec(stream_)) /
                         PA_USEC_PER_MSEC);
    ok = runOperation(pa_stream_drain(stream_, &Callbacks::done, this), true,
                      utteranceMs + kLookAheadMs + kStallMs);
    if (ok && cancelled()) ok = flushStream();
  }
  if (!ok) close();
}

void PulseSink::flush() {
  if (!stream_) return;
  bool ok;
  {
    LoopLock lock(loop_);
    speaking_ = false;
    ok = flushStream();
  }
  if (!ok) close();
}

bool PulseSink::flushStream() {
  if (!runOperation(pa_stream_flush(stream_, &Callbacks::done, this))) return false;
  // A flush moves the server's write position, which this side learns from the timing report
  // libpulse has asked for; the next utterance's breaks are found by it (see underflow).
  waitUntil(
      [this] {
        const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
        return (timing && !timing->write_index_corrupt) ||
               pa_stream_get_state(stream_) != PA_STREAM_READY;
      },
      kPollMs);
  return pa_stream_get_state(stream_) == PA_STREAM_READY;
}

void PulseSink::fail(const char* what) {
  close();
  throw AudioError(what);
}

void PulseSink::close() {
  if (!loop_) return;
  {
    LoopLock lock(loop_);
    if (stream_) {
      pa_stream_set_state_callback(stream_, nullptr, nullptr);
      pa_stream_set_write_callback(stream_, nullptr, nullptr);
      pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
      pa_stream_set_latency_update_callback(stream_, nullptr, nullptr);
      pa_stream_disconnect(stream_);
      pa_stream_unref(stream_);
      stream_ = nullptr;
    }
    if (context_) {
      pa_context_set_state_callback(context_, nullptr, nullptr);
      pa_context_disconnect(context_);
      pa_context_unref(context_);
      context_ = nullptr;
    }
  }
  pa_threaded_mainloop_stop(loop_);
  pa_threaded_mainloop_free(loop_);
  loop_ = nullptr;
}

}  // namespace orvane
