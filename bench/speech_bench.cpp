// Latency of the voice where a learner feels it: from SayText (and from a key press, on every
// English voice) to the first synthesised sample reaching the sink, for an English word and a
// kanji prompt; a burst of Tab presses on a sink that plays in real time, with the captions cut
// off as they are and spoken whole as they were; and the engine's start-up. Prints medians in
// milliseconds.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/dispatcher.hpp"
#include "app/quiet_platform.hpp"
#include "app/session.hpp"
#include "reading/japanese_reading.hpp"
#include "speech/speech_engine.hpp"

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
    // In real time, as a sound device plays, when a burst is measured.
    if (realTime) std::this_thread::sleep_for(std::chrono::microseconds(n * 1'000'000 / 22050));
    {
      std::lock_guard lock(m_);
      if (!first_) first_ = Clock::now();
    }
    cv_.notify_all();
    CaptureSink::write(s, n);
  }
  bool realTime = false;
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
    options.onFirstSamples = [this] {
      std::lock_guard lock(firstsMutex);
      firsts.push_back(Clock::now());
    };
    const auto t0 = Clock::now();
    engine = std::make_unique<SpeechEngine>(options);
    coldStartMs = ms(Clock::now() - t0);
    engine->lastError();  // the worker has made its sink by then
  }
  Clock::time_point lastFirst() {
    std::lock_guard lock(firstsMutex);
    return firsts.back();
  }
  TimingSink* sink = nullptr;
  std::mutex firstsMutex;
  std::vector<Clock::time_point> firsts;  // when each utterance's first sound reached the sink
  std::unique_ptr<SpeechEngine> engine;
  double coldStartMs = 0;
};

}  // namespace

int main() {
  constexpr int kRuns = 51;
  Bench b;
  SpeechEngine& e = *b.engine;

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
    SpeechEngine other(options);
    warmStarts.push_back(ms(Clock::now() - t0));
  }

  auto latency = [&](std::int32_t mode, const char* text) {
    std::vector<double> out;
    for (int i = 0; i < kRuns; ++i) {
      b.sink->arm();
      const auto t0 = Clock::now();
      e.speak({text, mode, SpeechEngine::kDefaultSpeed});
      out.push_back(ms(b.sink->waitFirst() - t0));
      e.waitUntilIdle();
    }
    return median(out);
  };
  const double word = latency(2, "Hello");
  const double prompt = latency(1, "今日はいい天気ですね。");
  const double numbers = latency(1, "2024年4月1日に、りんごを3本と卵を6個買いました。");
  // Long texts: SayText to the first sample, and to the end of the synthesis (the sink takes the
  // samples as fast as they come, so this is the synthesis time alone).
  const auto longText = [&](std::int32_t mode, const std::string& text) {
    b.sink->arm();
    const auto t0 = Clock::now();
    e.speak({text, mode, SpeechEngine::kDefaultSpeed});
    const double first = ms(b.sink->waitFirst() - t0);
    e.waitUntilIdle();
    return std::pair{first, ms(Clock::now() - t0)};
  };
  const std::pair<const char*, std::string> longTexts[] = {
      {"hello world", "hello world"},
      {"1,000 digits", std::string(1000, '1')},
      {"4,000 digits", std::string(4000, '7')},
      {"a 4,000-character URL", "https://example.org/" + std::string(3980, 'a')},
  };
  std::vector<std::pair<std::string, std::pair<double, double>>> longTimes;
  for (const auto& [name, text] : longTexts) longTimes.push_back({name, longText(2, text)});

  // A Tab key press through the dispatcher: the focus moves, the caption is handed to speech.
  QuietPlatform platform;
  Session session(e, platform);
  Dispatcher dispatcher(session);
  session.voices.englishVoiceMode = 2;
  session.form.show(Control::Start);
  session.form.show(Control::Next);
  // Tab to the first sample of the caption, on each English voice.
  std::vector<std::pair<std::string, double>> perVoice;
  for (std::int32_t mode = 2; mode <= e.voiceModeCount(); ++mode) {
    if (e.voiceModeLanguage(mode) != 1033) break;
    session.voices.englishVoiceMode = mode;
    std::vector<double> keys;
    for (int i = 0; i < kRuns; ++i) {
      b.sink->arm();
      const auto t0 = Clock::now();
      dispatcher.key({Key::Tab, {}, true, false});
      keys.push_back(ms(b.sink->waitFirst() - t0));
      e.waitUntilIdle();
    }
    perVoice.emplace_back(e.voiceModeTitle(mode), median(keys));
  }

  // Eight Tab presses 151 ms apart over the word buttons, the sound played in real time: from
  // the last key to the first sample of the last caption. "Whole" speaks every caption out
  // before the next, as the engine did before captions could be cut off.
  session.voices.englishVoiceMode = 2;
  for (int k = 2; k <= 8; ++k) {
    session.form.setCaption(wordButton(k), "student");
    session.form.show(wordButton(k));
  }
  b.sink->realTime = true;
  const auto burst = [&](bool whole) {
    std::vector<double> out;
    for (int run = 0; run < 5; ++run) {
      Clock::time_point last;
      for (int i = 0; i < 8; ++i) {
        last = Clock::now();
        if (whole) {
          const auto target = session.form.searchFocus(true);
          session.form.setActive(*target);
          e.speak({session.form.caption(*target), 2, SpeechEngine::kDefaultSpeed});
        } else {
          dispatcher.key({Key::Tab, {}, true, false});
        }
        if (i < 7) std::this_thread::sleep_for(std::chrono::milliseconds(151));
      }
      // The last caption's first sample: everything before it has been heard or dropped.
      e.waitUntilIdle();
      out.push_back(ms(b.lastFirst() - last));
    }
    return median(out);
  };
  const double cut = burst(false);
  const double whole = burst(true);
  b.sink->realTime = false;

  std::printf("engine start-up, first in process (eSpeak NG + MeCab + sink): %.2f ms\n",
              b.coldStartMs);
  std::printf("engine start-up, eSpeak NG already set up (median):          %.2f ms\n",
              median(warmStarts));
  std::printf("MeCab dictionary load (median):                               %.2f ms\n",
              median(mecabLoads));
  std::printf("SayText to first sample at the sink, English word (median):   %.2f ms\n", word);
  std::printf("SayText to first sample at the sink, kanji prompt (median):   %.2f ms\n", prompt);
  std::printf("SayText to first sample at the sink, numbers prompt (median): %.2f ms\n", numbers);
  for (const auto& [name, times] : longTimes) {
    std::printf("SayText, English, %-22s first sample %8.2f ms, synthesis done %9.1f ms\n",
                (name + ":").c_str(), times.first, times.second);
  }
  for (const auto& [title, value] : perVoice) {
    std::printf("Tab key press to first sample of the caption, %-28s %.2f ms\n",
                (title + ":").c_str(), value);
  }
  std::printf("8 Tabs 151 ms apart, last key to its caption, captions cut off: %.2f ms\n", cut);
  std::printf("8 Tabs 151 ms apart, last key to its caption, spoken whole:     %.2f ms\n", whole);
  return 0;
}
