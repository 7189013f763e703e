// Key press to sound, on one clock: injects keys into the running window through XTest and
// listens to the sound device's monitor through PulseAudio. The key's moment and the sound's
// onset are both counted in the monitor's samples (the key at the samples read so far plus the
// recording's latency), so neither a forked helper nor the recording's lag enters the figure.
// The onset is the first sample past 0.1% of full scale, found in 1 ms steps, so the figures
// resolve well under a millisecond. The program starts every utterance at its first sample
// past 1% with a 4 ms fade-in, and the null sink is silent to the last bit between
// utterances, so this is where the program's sound begins, whatever the word's own attack (a
// voice's "G" stays under 1% for tens of milliseconds).
//
// usage: orvane-key-bench MONITOR_SOURCE KEYS BURST
//   One Tab (to Start, the first caption after start), and with KEYS 0 nothing more; else Enter
//   (the first question's prompt), then KEYS single presses of Tab through the word buttons, each
//   after the last one's sound has ended; then BURST presses of Tab 40 ms apart, timed from the
//   last of them to the sound that follows it.
// Prints one line per key and the summary lines the script reads:
//   first F          the first Tab after start
//   median M over N  the single Tabs after the prompt
//   new M            the first five of them, whose captions had not been heard before (the
//                    engine keeps the sound of captions it has spoken)
//   burst B          the last key of the burst
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {
constexpr int kRate = 22050;
constexpr int kStep = kRate / 1000;  // 1 ms of samples
constexpr int kLoud = 33;            // 0.1% of full scale
constexpr int kQuietSteps = 2;       // 2 ms below the threshold end a sound

std::mutex m;
std::uint64_t samplesRead = 0;       // the monitor's clock
std::vector<std::int16_t> heardAll;  // everything recorded
std::vector<std::uint64_t> onsets;   // the first loud sample after a quiet stretch
std::atomic<bool> done{false};

void listen(pa_simple* rec) {
  std::int16_t buffer[kStep];
  int quiet = kQuietSteps;
  while (!done) {
    int err = 0;
    if (pa_simple_read(rec, buffer, sizeof buffer, &err) < 0) break;
    std::lock_guard lock(m);
    heardAll.insert(heardAll.end(), std::begin(buffer), std::end(buffer));
    const auto loud = std::find_if(std::begin(buffer), std::end(buffer),
                                   [](std::int16_t s) { return std::abs(s) > kLoud; });
    if (loud != std::end(buffer)) {
      if (quiet >= kQuietSteps) onsets.push_back(samplesRead + (loud - std::begin(buffer)));
      quiet = 0;
    } else {
      ++quiet;
    }
    samplesRead += kStep;
  }
}

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Bench {
  Display* display;
  pa_simple* rec;
  KeyCode tab;

  // The key's moment on the monitor's clock, and the onsets heard so far.
  std::pair<std::uint64_t, std::size_t> now() {
    int err = 0;
    const pa_usec_t lag = pa_simple_get_latency(rec, &err);
    std::lock_guard lock(m);
    return {samplesRead + lag * kRate / 1'000'000, onsets.size()};
  }

  void press(KeyCode key) {
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XFlush(display);
  }

  // One Tab after the last sound has ended: milliseconds to its sound and where the sound
  // began, if any.
  std::optional<std::pair<double, std::uint64_t>> timedTab() {
    sleepMs(1200);
    const auto [keyAt, before] = now();
    press(tab);
    const auto onset = heard(keyAt, before);
    if (!onset) {
      std::printf("Tab      not heard (a silent button)\n");
      return std::nullopt;
    }
    const double ms = double(*onset - keyAt) * 1000.0 / kRate;
    std::printf("Tab      %7.2f ms\n", ms);
    return std::pair{ms, *onset};
  }

  // The first onset after the key; none within a second.
  std::optional<std::uint64_t> heard(std::uint64_t keyAt, std::size_t before) {
    for (int wait = 0; wait < 200; ++wait) {
      sleepMs(5);
      std::lock_guard lock(m);
      for (std::size_t i = before; i < onsets.size(); ++i) {
        if (onsets[i] >= keyAt) return onsets[i];
      }
    }
    return std::nullopt;
  }
};

// Where a caption heard alone before begins again after `from`: in a burst, each caption cuts
// the one before it off with no silence between, so the last one's start is found by its own
// first 10 ms, which the program plays sample for sample alike each time.
std::optional<std::uint64_t> startOfAgain(const std::vector<std::uint64_t>& knownOnsets,
                                          std::uint64_t from) {
  constexpr std::size_t length = kRate / 100;
  std::lock_guard lock(m);
  std::optional<std::uint64_t> best;
  for (const std::uint64_t onset : knownOnsets) {
    if (onset + length > heardAll.size() || onset >= from) continue;
    const std::int16_t* pattern = heardAll.data() + onset;
    for (std::uint64_t at = from; at + length <= heardAll.size() && (!best || at < *best); ++at) {
      long difference = 0;
      for (std::size_t k = 0; k < length && difference < 40L * static_cast<long>(length); ++k) {
        difference += std::abs(heardAll[at + k] - pattern[k]);
      }
      if (difference < 40L * static_cast<long>(length)) best = at;
    }
  }
  return best;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: orvane-key-bench MONITOR_SOURCE KEYS BURST\n");
    return 2;
  }
  const int keys = std::atoi(argv[2]), burst = std::atoi(argv[3]);
  Display* display = XOpenDisplay(nullptr);
  if (!display) return std::fprintf(stderr, "no X display\n"), 1;
  const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.fragsize = kStep * 2;
  int err = 0;
  pa_simple* rec = pa_simple_new(nullptr, "orvane-key-bench", PA_STREAM_RECORD, argv[1], "monitor",
                                 &format, nullptr, &attr, &err);
  if (!rec) return std::fprintf(stderr, "cannot record %s\n", argv[1]), 1;
  std::thread listener(listen, rec);
  Bench bench{display, rec, XKeysymToKeycode(display, XStringToKeysym("Tab"))};
  // The prompt spoken at start is never cut off: let it end before the first key.
  sleepMs(4000);

  const auto finish = [&] {
    done = true;
    listener.join();
    pa_simple_free(rec);
    XCloseDisplay(display);
  };

  const auto first = bench.timedTab();
  if (keys == 0) {  // the first Tab only
    finish();
    if (!first) return std::fprintf(stderr, "the first Tab was not heard\n"), 1;
    std::printf("first %.2f\n", first->first);
    return 0;
  }
  bench.press(XKeysymToKeycode(display, XStringToKeysym("Return")));
  sleepMs(4000);  // the prompt
  std::vector<double> delays;
  std::vector<std::uint64_t> singleOnsets;  // where each single Tab's caption began
  for (int i = 0; i < keys; ++i) {
    if (const auto tab = bench.timedTab()) {
      delays.push_back(tab->first);
      singleOnsets.push_back(tab->second);
    }
  }
  std::optional<double> burstMs;
  if (burst > 0) {
    sleepMs(1200);
    for (int i = 1; i < burst; ++i) bench.press(bench.tab), sleepMs(40);
    const auto [keyAt, before] = bench.now();
    bench.press(bench.tab);
    sleepMs(1500);
    if (const auto start = startOfAgain(singleOnsets, keyAt)) {
      burstMs = double(*start - keyAt) * 1000.0 / kRate;
    }
  }
  finish();
  if (!first || delays.empty()) return std::fprintf(stderr, "too few keys were heard\n"), 1;
  std::printf("first %.2f\n", first->first);
  std::printf("median %.2f over %zu\n", median(delays), delays.size());
  std::printf("new %.2f\n", median({delays.begin(),
                                    delays.begin() + std::min<std::ptrdiff_t>(5, delays.size())}));
  if (burstMs) std::printf("burst %.2f\n", *burstMs);
  return 0;
}
