// Latency of the voice where a learner feels it: from SayText (and from a key press) to the
// first synthesised sample reaching the sink, for an English word and a kanji prompt; and the
// engine's start-up (eSpeak NG and the MeCab model). Prints medians in milliseconds.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

#include "app/dispatcher.hpp"
#include "app/quiet_platform.hpp"
#include "app/session.hpp"
#include "speech/espeak_engine.hpp"
#include "speech/japanese_reading.hpp"

using Clock = std::chrono::steady_clock;
using namespace orvane;

namespace {

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// A sink that notes when the first samples of an utterance arrive.
class TimingSink : public CaptureSink {
 public:
  void write(const std::int16_t* s, std::size_t n) override {
    {
      std::lock_guard lock(m_);
      if (!first_) first_ = Clock::now();
    }
    cv_.notify_all();
    CaptureSink::write(s, n);
  }
  void arm() {
    std::lock_guard lock(m_);
    first_.reset();
  }
  Clock::time_point waitFirst() {
    std::unique_lock lock(m_);
    cv_.wait(lock, [this] { return first_.has_value(); });
    return *first_;
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::optional<Clock::time_point> first_;
};

struct Bench {
  Bench() {
    EngineOptions options;
    options.makeSink = [this] {
      auto s = std::make_unique<TimingSink>();
      sink = s.get();
      return s;
    };
    const auto t0 = Clock::now();
    engine = std::make_unique<EspeakEngine>(options);
    coldStartMs = ms(Clock::now() - t0);
  }
  TimingSink* sink = nullptr;
  std::unique_ptr<EspeakEngine> engine;
  double coldStartMs = 0;
};

}  // namespace

int main() {
  constexpr int kRuns = 51;
  Bench b;
  EspeakEngine& e = *b.engine;

  std::vector<double> warmStarts, mecabLoads;
  for (int i = 0; i < 11; ++i) {
    auto t0 = Clock::now();
    JapaneseReader reader;
    mecabLoads.push_back(ms(Clock::now() - t0));
  }
  for (int i = 0; i < 11; ++i) {
    EngineOptions options;
    options.makeSink = [] { return std::make_unique<CaptureSink>(); };
    auto t0 = Clock::now();
    EspeakEngine other(options);
    warmStarts.push_back(ms(Clock::now() - t0));
  }

  auto latency = [&](std::int32_t mode, const char* text) {
    std::vector<double> out;
    for (int i = 0; i < kRuns; ++i) {
      b.sink->arm();
      e.setCurrentMode(mode);
      const auto t0 = Clock::now();
      e.sayText(text);
      out.push_back(ms(b.sink->waitFirst() - t0));
      e.waitUntilIdle();
    }
    return median(out);
  };
  const double word = latency(2, "Hello");
  const double prompt = latency(1, "今日はいい天気ですね。");

  // A Tab key press through the dispatcher: the focus moves, the caption is handed to speech.
  QuietPlatform platform;
  Session session(e, platform);
  Dispatcher dispatcher(session);
  session.voices.EnglishVoiceMode = 2;
  session.form.show(Control::Start);
  session.form.show(Control::Next);
  std::vector<double> keys;
  for (int i = 0; i < kRuns; ++i) {
    b.sink->arm();
    const auto t0 = Clock::now();
    dispatcher.key({Key::Tab, {}, true, false});
    keys.push_back(ms(b.sink->waitFirst() - t0));
    e.waitUntilIdle();
  }

  std::printf("engine start-up, first in process (eSpeak NG + MeCab + sink): %.2f ms\n",
              b.coldStartMs);
  std::printf("engine start-up, eSpeak NG already set up (median):          %.2f ms\n",
              median(warmStarts));
  std::printf("MeCab dictionary load (median):                               %.2f ms\n",
              median(mecabLoads));
  std::printf("SayText to first sample at the sink, English word (median):   %.2f ms\n", word);
  std::printf("SayText to first sample at the sink, kanji prompt (median):   %.2f ms\n", prompt);
  std::printf("Tab key press to first sample of the caption (median):        %.2f ms\n",
              median(keys));
  return 0;
}
