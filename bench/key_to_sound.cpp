// Key press to sound, on one clock: injects each key into the running window through XTest and
// listens to the sound device's monitor through PulseAudio. The key's moment and the sound's
// onset are both counted in the monitor's samples (the key at the samples read so far plus the
// recording's latency), so neither a forked helper nor the recording's lag enters the figure.
// usage: orvane-key-bench MONITOR_SOURCE KEY... (X keysym names: Tab, Return)
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int kRate = 22050;
constexpr int kWindow = kRate / 200;  // 5 ms
constexpr double kLoud = 0.01 * 32768;

std::mutex m;
std::uint64_t samplesRead = 0;      // the monitor's clock
std::vector<std::uint64_t> onsets;  // first loud window after a silence, in samples
std::atomic<bool> done{false};

void listen(pa_simple* rec) {
  std::int16_t buffer[kWindow];
  bool loud = false;
  while (!done) {
    int err = 0;
    if (pa_simple_read(rec, buffer, sizeof buffer, &err) < 0) break;
    double sum = 0;
    for (const std::int16_t s : buffer) sum += double(s) * s;
    const bool now = std::sqrt(sum / kWindow) > kLoud;
    std::lock_guard lock(m);
    if (now && !loud) onsets.push_back(samplesRead);
    loud = now;
    samplesRead += kWindow;
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: orvane-key-bench MONITOR_SOURCE KEY...\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return std::fprintf(stderr, "no X display\n"), 1;
  const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.fragsize = kWindow * 2;
  int err = 0;
  pa_simple* rec = pa_simple_new(nullptr, "orvane-key-bench", PA_STREAM_RECORD, argv[1], "monitor",
                                 &format, nullptr, &attr, &err);
  if (!rec) return std::fprintf(stderr, "cannot record %s\n", argv[1]), 1;
  std::thread listener(listen, rec);
  // The prompt spoken at start is never cut off: let it end before the first key.
  std::this_thread::sleep_for(std::chrono::seconds(3));

  std::vector<double> delays;
  for (int i = 2; i < argc; ++i) {
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(argv[i]));
    // Let what the last key said end first.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const pa_usec_t lag = pa_simple_get_latency(rec, &err);
    std::uint64_t keyAt;
    std::size_t before;
    {
      std::lock_guard lock(m);
      keyAt = samplesRead + lag * kRate / 1'000'000;
      before = onsets.size();
    }
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
    for (int wait = 0; wait < 200; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      std::lock_guard lock(m);
      if (onsets.size() > before) {
        const auto onset = std::max(onsets[before], keyAt);
        delays.push_back(double(onset - keyAt) * 1000.0 / kRate);
        std::printf("%-8s %6.1f ms\n", argv[i], delays.back());
        break;
      }
    }
  }
  done = true;
  listener.join();
  pa_simple_free(rec);
  XCloseDisplay(display);
  if (delays.empty()) return std::fprintf(stderr, "no key was heard\n"), 1;
  std::sort(delays.begin(), delays.end());
  std::printf(
      "key press to sound over %zu keys: fastest %.1f ms, median %.1f ms, slowest %.1f ms\n",
      delays.size(), delays.front(), delays[delays.size() / 2], delays.back());
  return 0;
}
