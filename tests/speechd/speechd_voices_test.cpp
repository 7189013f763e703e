// Speech through a running speech-dispatcher (started by speechd_test.sh, which names it in
// SPEECHD_ADDRESS and gives the commands that stop and start it), heard on the null sink's
// monitor.
#include <gtest/gtest.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/speech_engine.hpp"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Everything the null sink plays, from the moment it is made.
class Monitor {
 public:
  Monitor() {
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = kRate / 50 * 2;
    stream_ = pa_simple_new(nullptr, "orvane-speechd-test", PA_STREAM_RECORD, "orvane_null.monitor",
                            "monitor", &format, nullptr, &attr, nullptr);
    if (stream_) reader_ = std::thread([this] { read(); });
  }
  ~Monitor() {
    done_ = true;
    if (reader_.joinable()) reader_.join();
    if (stream_) pa_simple_free(stream_);
  }
  bool recording() const { return stream_ != nullptr; }
  std::size_t now() {
    std::lock_guard lock(mutex_);
    return samples_.size();
  }
  // The seconds of sound (20 ms windows over 1% of full scale) since `from`.
  double heardSince(std::size_t from) {
    std::lock_guard lock(mutex_);
    constexpr std::size_t window = kRate / 50;
    std::size_t loud = 0;
    for (std::size_t at = from; at + window <= samples_.size(); at += window) {
      double sum = 0;
      for (std::size_t i = at; i < at + window; ++i) sum += double(samples_[i]) * samples_[i];
      if (std::sqrt(sum / window) > 328) ++loud;
    }
    return loud * 0.02;
  }

 private:
  static constexpr std::uint32_t kRate = 22050;
  void read() {
    std::int16_t buffer[kRate / 100];
    while (!done_ && pa_simple_read(stream_, buffer, sizeof buffer, nullptr) == 0) {
      std::lock_guard lock(mutex_);
      samples_.insert(samples_.end(), std::begin(buffer), std::end(buffer));
    }
  }
  pa_simple* stream_ = nullptr;
  std::thread reader_;
  std::atomic<bool> done_{false};
  std::mutex mutex_;
  std::vector<std::int16_t> samples_;
};

// The engine, its own sink catching anything that does not go through the server.
struct ServerHarness {
  ServerHarness() {
    EngineOptions options;
    options.makeSink = [this] {
      auto s = std::make_unique<CaptureSink>();
      sink = s.get();
      return s;
    };
    engine = std::make_unique<SpeechEngine>(std::move(options));
  }
  CaptureSink* sink = nullptr;  // the engine's, while it lives
  std::unique_ptr<SpeechEngine> engine;
  Monitor monitor;

  // The first server voice of a language ("en-us", "ja").
  std::int32_t serverMode(const std::string& language) {
    const auto& modes = engine->voiceModes();
    for (std::size_t i = 0; i < modes.size(); ++i) {
      if (modes[i].identifier.rfind("speechd:", 0) == 0 && modes[i].language == language) {
        return static_cast<std::int32_t>(i) + 1;
      }
    }
    return 0;
  }
};

const char* kLong =
    "This sentence is long enough to be spoken for several seconds, so that something can "
    "happen while it is still being heard by the learner.";

TEST(SpeechDispatcher, ServerVoicesComeAfterTheBuiltInOnesWithLanguageIds) {
  ServerHarness h;
  const auto& modes = h.engine->voiceModes();
  const std::int32_t english = h.serverMode("en-us"), japanese = h.serverMode("ja");
  ASSERT_GT(english, 0);
  ASSERT_GT(japanese, 0);
  EXPECT_EQ(h.engine->voiceModeTitle(english), "English (America) – espeak-ng, speech-dispatcher");
  EXPECT_EQ(h.engine->voiceModeLanguage(english), 1033);
  EXPECT_EQ(h.engine->voiceModeLanguage(japanese), 1041);
  EXPECT_EQ(h.engine->voiceModeTitle(2), "English (America)");
  // Once the first server voice comes, every later mode is the server's.
  const auto first = std::find_if(modes.begin(), modes.end(), [](const VoiceMode& m) {
    return m.identifier.rfind("speechd:", 0) == 0;
  });
  EXPECT_TRUE(std::all_of(first, modes.end(), [](const VoiceMode& m) {
    return m.title.find(", speech-dispatcher") != std::string::npos;
  }));
}

TEST(SpeechDispatcher, SpeaksThroughTheServerAndACaptionCutsTheLastCaption) {
  ServerHarness h;
  ASSERT_TRUE(h.monitor.recording());
  const std::int32_t english = h.serverMode("en-us");
  ASSERT_GT(english, 0);
  std::size_t from = h.monitor.now();
  h.engine->speak({"Hello, this is the speech server.", english, SpeechEngine::kDefaultSpeed});
  h.engine->waitUntilIdle();
  std::this_thread::sleep_for(300ms);
  EXPECT_GT(h.monitor.heardSince(from), 0.5);
  EXPECT_TRUE(h.sink->samples().empty()) << "played by the engine, not the server";
  EXPECT_EQ(h.engine->lastError(), 0);

  // Spoken whole, the long caption sounds for seconds; cut by the next, it stops at once.
  const auto start = std::chrono::steady_clock::now();
  from = h.monitor.now();
  h.engine->speak({kLong, english, SpeechEngine::kDefaultSpeed, true});
  std::this_thread::sleep_for(700ms);
  h.engine->speak({"Next.", english, SpeechEngine::kDefaultSpeed, true});
  h.engine->waitUntilIdle();
  std::this_thread::sleep_for(300ms);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  EXPECT_LT(h.monitor.heardSince(from), 2.0);
  EXPECT_GT(h.monitor.heardSince(from), 0.3);
}

TEST(SpeechDispatcher, AServerKilledMidUtteranceIsReportedAndSpeechComesBack) {
  ServerHarness h;
  const std::int32_t english = h.serverMode("en-us");
  ASSERT_GT(english, 0);
  h.engine->speak({kLong, english, SpeechEngine::kDefaultSpeed});
  std::this_thread::sleep_for(700ms);
  ASSERT_EQ(std::system(std::getenv("SPEECH_SERVER_KILL")), 0);
  // The engine notices: it neither hangs nor calls the utterance spoken well.
  EXPECT_TRUE(h.engine->waitUntilIdle(5s));
  EXPECT_EQ(h.engine->lastError(), SpeechEngine::kSoundDeviceFailed);

  ASSERT_EQ(std::system(std::getenv("SPEECH_SERVER_START")), 0);
  const std::size_t from = h.monitor.now();
  h.engine->speak({"Hello again.", english, SpeechEngine::kDefaultSpeed});
  h.engine->waitUntilIdle();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(h.engine->lastError(), 0);
  EXPECT_GT(h.monitor.heardSince(from), 0.3);
}

}  // namespace
}  // namespace orvane
