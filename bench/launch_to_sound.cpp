// Launch to sound, on the sound device's own clock: starts a program and listens to the sink's
// monitor through PulseAudio for the first sound after it. The launch's moment and the sound's
// onset are both counted in the monitor's samples (the launch at the samples read so far plus
// the recording's latency), so the figure is what a learner waits from starting the drill to
// hearing its first prompt. The onset is the first sample past 0.1% of full scale after a
// silence, in 1 ms steps.
//
// usage: orvane-launch-bench MONITOR_SOURCE RUNS COMMAND [ARGS...]
//   Starts COMMAND RUNS times (each after a second of silence, ended with SIGTERM once heard or
//   after ten seconds) and prints one line per run and "median M" in milliseconds.
#include <pulse/simple.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
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
constexpr int kQuietSteps = 2;

std::mutex m;
std::uint64_t samplesRead = 0;
std::vector<std::uint64_t> onsets;
std::atomic<bool> done{false};

void listen(pa_simple* rec) {
  std::int16_t buffer[kStep];
  int quiet = kQuietSteps;
  while (!done) {
    int err = 0;
    if (pa_simple_read(rec, buffer, sizeof buffer, &err) < 0) break;
    std::lock_guard lock(m);
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

pid_t launch(char** command) {
  std::fflush(stdout);  // not written twice by the child
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    ::execvp(command[0], command);
    std::_Exit(127);
  }
  return pid;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: orvane-launch-bench MONITOR_SOURCE RUNS COMMAND [ARGS...]\n");
    return 2;
  }
  const int runs = std::atoi(argv[2]);
  const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.fragsize = kStep * 2;
  int err = 0;
  pa_simple* rec = pa_simple_new(nullptr, "orvane-launch-bench", PA_STREAM_RECORD, argv[1],
                                 "monitor", &format, nullptr, &attr, &err);
  if (!rec) return std::fprintf(stderr, "cannot record %s\n", argv[1]), 1;
  std::thread listener(listen, rec);
  std::vector<double> heard;
  for (int run = 0; run < runs; ++run) {
    sleepMs(1000);
    const pa_usec_t lag = pa_simple_get_latency(rec, &err);
    std::uint64_t launchedAt = 0;
    std::size_t before = 0;
    {
      std::lock_guard lock(m);
      launchedAt = samplesRead + lag * kRate / 1'000'000;
      before = onsets.size();
    }
    const pid_t child = launch(argv + 3);
    std::optional<std::uint64_t> onset;
    for (int wait = 0; wait < 2000 && !onset; ++wait) {
      sleepMs(5);
      std::lock_guard lock(m);
      for (std::size_t i = before; i < onsets.size() && !onset; ++i) {
        if (onsets[i] >= launchedAt) onset = onsets[i];
      }
    }
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    if (!onset) {
      std::printf("run %d   not heard\n", run + 1);
      continue;
    }
    const double ms = double(*onset - launchedAt) * 1000.0 / kRate;
    heard.push_back(ms);
    std::printf("run %d   %8.1f ms\n", run + 1, ms);
    std::fflush(stdout);
  }
  done = true;
  listener.join();
  pa_simple_free(rec);
  if (heard.empty()) return std::fprintf(stderr, "nothing was heard\n"), 1;
  std::sort(heard.begin(), heard.end());
  std::printf("median %.1f\n", heard[heard.size() / 2]);
  return 0;
}
