#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "app/error.hpp"
#include "speech/espeak_engine.hpp"
#include "speech/japanese_reading.hpp"
#include "speech/voice_catalog.hpp"

namespace orvane {
namespace {

TEST(JapaneseReading, GivesThePronunciationInKatakana) {
  JapaneseReader reader;
  ASSERT_TRUE(reader.hasDictionary());
  EXPECT_EQ(reader.read("私は学生です。"),
            (std::vector<ReadingSegment>{{false, "ワタシワガクセイデス。"}}));
  const auto weather = reader.read("今日はいい天気ですね。");
  ASSERT_EQ(weather.size(), 1u);
  EXPECT_EQ(weather[0].text, "キョーワイイテンキデスネ。");
}

TEST(JapaneseReading, LatinWordsAreKeptApartForTheEnglishVoice) {
  JapaneseReader reader;
  EXPECT_EQ(reader.read("Tomは学生です。"),
            (std::vector<ReadingSegment>{{true, "Tom"}, {false, "ワガクセイデス。"}}));
  const auto twoWords = reader.read("New Yorkへ行く");
  ASSERT_FALSE(twoWords.empty());
  EXPECT_EQ(twoWords[0], (ReadingSegment{true, "New York"}));
}

TEST(JapaneseReading, NoIdeographEverReachesTheVoice) {
  JapaneseReader reader;
  // Rare characters MeCab may not know are dropped rather than named "Chinese letter".
  for (const char* text : {"鬱蒼とした森", "彁", "々", "私は㐀です"}) {
    for (const ReadingSegment& s : reader.read(text)) {
      EXPECT_EQ(withoutIdeographs(s.text), s.text) << text;
    }
  }
}

TEST(JapaneseReading, WithoutTheDictionaryKanaAndLatinWordsRemain) {
  JapaneseReader reader("/nonexistent/mecab/dic");
  EXPECT_FALSE(reader.hasDictionary());
  EXPECT_EQ(reader.read("私はTom Brownです"),
            (std::vector<ReadingSegment>{{false, "は"}, {true, "Tom Brown"}, {false, "です"}}));
}

TEST(VoiceCatalog, JapaneseComesFirstAndEnglishAmericaSecond) {
  const auto modes = orderVoiceModes({
      {"Afrikaans", "gmw/af", "af"},
      {"English (Great Britain)", "gmw/en", "en-gb"},
      {"English (America)", "gmw/en-US", "en-us"},
      {"English (Scotland)", "gmw/en-GB-scotland", "en-gb-scotland"},
      {"English (Caribbean)", "gmw/en-029", "en-029"},
      {"Japanese", "jpx/ja", "ja"},
  });
  ASSERT_EQ(modes.size(), 6u);
  EXPECT_EQ(modes[0].title, "Japanese");
  EXPECT_EQ(modes[0].languageId, 1041);
  EXPECT_EQ(modes[1].title, "English (America)");
  EXPECT_EQ(modes[1].languageId, 1033);
  EXPECT_EQ(modes[2].title, "Afrikaans");
  EXPECT_EQ(modes[2].languageId, 0);
  EXPECT_EQ(modes[3].languageId, 2057);
  EXPECT_EQ(modes[4].languageId, 2057);  // a British variant
  EXPECT_EQ(modes[5].languageId, 9);     // other English
  EXPECT_EQ(windowsLanguageId("de"), 1031);
  EXPECT_EQ(windowsLanguageId("EN-US"), 1033);
  EXPECT_EQ(windowsLanguageId("enx"), 0);
}

// --- The engine, synthesising into memory ---

class FlakySink : public CaptureSink {
 public:
  std::atomic<bool> failOpen{false}, failWrite{false};
  void open(int rate) override {
    if (failOpen) throw AudioError("no device");
    CaptureSink::open(rate);
  }
  void write(const std::int16_t* s, std::size_t n) override {
    if (failWrite) {
      close();
      throw AudioError("device gone");
    }
    CaptureSink::write(s, n);
  }
};

struct Spoken {
  std::string voice;
  std::int32_t rate;
  std::string text;
};

struct EngineHarness {
  explicit EngineHarness(EngineOptions options = {}) {
    options.makeSink = [this, without = startWithoutDevice] {
      auto s = std::make_unique<FlakySink>();
      sink = s.get();
      s->failOpen = without;
      return s;
    };
    options.onSynthesis = [this](const std::string& v, std::int32_t r, const std::string& t) {
      spoken.push_back({v, r, t});
    };
    engine = std::make_unique<EspeakEngine>(std::move(options));
    engine->lastError();  // the worker has made its sink by then
  }
  double seconds() const {
    return static_cast<double>(sink->samples().size()) / engine->sampleRate();
  }
  double rms(std::size_t from, std::size_t to) const {
    const auto s = sink->samples();
    double sum = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i) sum += double(s[i]) * s[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
  }
  static inline bool startWithoutDevice = false;
  FlakySink* sink = nullptr;
  std::vector<Spoken> spoken;  // written by the worker, read after waitUntilIdle
  std::unique_ptr<EspeakEngine> engine;
};

TEST(EspeakEngine, ListsJapaneseAndEnglishFirstAndKeepsSpeedInRange) {
  EngineHarness h;
  EspeakEngine& e = *h.engine;
  EXPECT_EQ(e.lastError(), 0);
  ASSERT_GE(e.voiceModeCount(), 2);
  EXPECT_EQ(e.voiceModeLanguage(1), 1041);
  EXPECT_EQ(e.voiceModeTitle(2), "English (America)");
  EXPECT_EQ(e.voiceModeLanguage(2), 1033);
  EXPECT_THROW(e.voiceModeTitle(0), Error);
  EXPECT_THROW(e.voiceModeLanguage(e.voiceModeCount() + 1), Error);
  EXPECT_EQ(e.minSpeed(), 80);
  e.setSpeed(10);
  EXPECT_EQ(e.speed(), 80);
  e.setSpeed(9000);
  EXPECT_EQ(e.speed(), 450);
  for (int i = 1; i <= e.voiceModeCount(); ++i) {
    EXPECT_EQ(e.voiceModeTitle(i).rfind("mb-", 0), std::string::npos) << "mbrola voice listed";
  }
}

TEST(EspeakEngine, SpeaksAKanjiPromptAndAnEnglishWordAudibly) {
  EngineHarness h;
  EspeakEngine& e = *h.engine;
  e.setCurrentMode(1);
  e.sayText("今日はいい天気ですね。");
  e.waitUntilIdle();
  const double prompt = h.seconds();
  EXPECT_GT(prompt, 1.0);
  EXPECT_LT(prompt, 4.0);
  EXPECT_GT(h.rms(0, h.sink->samples().size()), 500.0);
  ASSERT_EQ(h.spoken.size(), 1u);
  EXPECT_EQ(h.spoken[0].voice, e.voiceModes()[0].identifier);
  EXPECT_EQ(withoutIdeographs(h.spoken[0].text), h.spoken[0].text);

  e.setCurrentMode(2);
  e.sayText("Hello");
  e.waitUntilIdle();
  const double word = h.seconds() - prompt;
  EXPECT_GT(word, 0.2);
  EXPECT_LT(word, 1.5);
}

TEST(EspeakEngine, PunctuationCaptionsAreSpokenByName) {
  // The ".", "?" and "!" buttons must be heard when they take the focus; read as punctuation
  // they would be silence. In a sentence the marks stay unspoken.
  EngineHarness h;
  EspeakEngine& e = *h.engine;
  e.setCurrentMode(2);
  double before = 0;
  for (const char* mark : {".", "?", "!", " ! "}) {
    e.sayText(mark);
    e.waitUntilIdle();
    EXPECT_GT(h.seconds() - before, 0.3) << '"' << mark << '"';
    const auto from = static_cast<std::size_t>(before * e.sampleRate());
    EXPECT_GT(h.rms(from, h.sink->samples().size()), 300.0) << '"' << mark << '"';
    before = h.seconds();
  }
  e.sayText("Run");
  e.waitUntilIdle();
  const double word = h.seconds() - before;
  before = h.seconds();
  e.sayText("Run!");
  e.waitUntilIdle();
  EXPECT_LT(h.seconds() - before, word + 0.3) << "the mark in a sentence was spoken";
}

TEST(EspeakEngine, QueuedUtterancesKeepTheirOrderVoiceAndRate) {
  EngineHarness h;
  EspeakEngine& e = *h.engine;
  e.setCurrentMode(2);
  e.setSpeed(300);
  e.sayText("one");
  e.setCurrentMode(1);
  e.setSpeed(120);
  e.sayText("二です");
  e.setCurrentMode(2);
  e.sayText("three");
  e.setCurrentMode(9999);  // no such mode: the text's own language decides
  e.sayText("four");
  e.waitUntilIdle();
  ASSERT_EQ(h.spoken.size(), 4u);
  const auto& modes = e.voiceModes();
  EXPECT_EQ(h.spoken[0].text, "one");
  EXPECT_EQ(h.spoken[0].voice, modes[1].identifier);
  EXPECT_EQ(h.spoken[0].rate, 300);
  EXPECT_EQ(h.spoken[1].voice, modes[0].identifier);
  EXPECT_EQ(h.spoken[1].text, "ニデス");
  EXPECT_EQ(h.spoken[1].rate, 120);
  EXPECT_EQ(h.spoken[2].voice, modes[1].identifier);
  EXPECT_EQ(h.spoken[2].rate, 120);
  EXPECT_EQ(h.spoken[3].voice, modes[1].identifier);
  EXPECT_EQ(h.sink->utteranceEnds().size(), 4u);
}

TEST(EspeakEngine, SlowerRatesGiveLongerSpeech) {
  EngineHarness h;
  EspeakEngine& e = *h.engine;
  e.setCurrentMode(2);
  e.setSpeed(80);
  e.sayText("This is a longer sentence to time.");
  e.waitUntilIdle();
  const auto slow = h.sink->samples().size();
  e.setSpeed(450);
  e.sayText("This is a longer sentence to time.");
  e.waitUntilIdle();
  const auto fast = h.sink->samples().size() - slow;
  EXPECT_GT(slow, fast * 2);
}

TEST(EspeakEngine, WithoutASoundDeviceTheDrillGoesOnAndSpeechResumesLater) {
  EngineHarness::startWithoutDevice = true;
  EngineHarness h;
  EngineHarness::startWithoutDevice = false;
  EspeakEngine& e = *h.engine;
  EXPECT_EQ(e.lastError(), EspeakEngine::kNoSoundDevice);
  e.setCurrentMode(2);
  e.sayText("lost");
  e.waitUntilIdle();
  EXPECT_TRUE(h.sink->samples().empty());
  EXPECT_EQ(e.lastError(), EspeakEngine::kNoSoundDevice);

  h.sink->failOpen = false;  // the device is back
  e.sayText("back");
  e.waitUntilIdle();
  EXPECT_FALSE(h.sink->samples().empty());
  EXPECT_EQ(e.lastError(), 0);
}

TEST(EspeakEngine, ADeviceThatGoesAwayMidRunIsReportedAndRecovered) {
  EngineHarness h;
  EspeakEngine& e = *h.engine;
  e.setCurrentMode(2);
  e.sayText("first");
  e.waitUntilIdle();
  const auto before = h.sink->samples().size();
  ASSERT_GT(before, 0u);
  h.sink->failWrite = true;
  e.sayText("second");
  e.waitUntilIdle();
  EXPECT_EQ(e.lastError(), EspeakEngine::kSoundDeviceFailed);
  EXPECT_EQ(h.sink->samples().size(), before);
  h.sink->failWrite = false;
  e.sayText("third");
  e.waitUntilIdle();
  EXPECT_GT(h.sink->samples().size(), before);
  EXPECT_EQ(e.lastError(), 0);
}

TEST(EspeakEngine, MissingDataIsReportedAndNothingCrashes) {
  {
    EngineOptions options;
    options.mecabDictionary = "/nonexistent/dic";
    EngineHarness h(options);
    EXPECT_EQ(h.engine->lastError(), EspeakEngine::kNoDictionary);
    h.engine->setCurrentMode(1);
    h.engine->sayText("学生です");
    h.engine->waitUntilIdle();
    ASSERT_EQ(h.spoken.size(), 1u);
    EXPECT_EQ(h.spoken[0].text, "です");
  }
  {
    EngineOptions options;
    options.espeakData = "/nonexistent/espeak-ng-data";
    EngineHarness h(options);
    EXPECT_EQ(h.engine->lastError(), EspeakEngine::kNoVoiceData);
    EXPECT_EQ(h.engine->voiceModeCount(), 0);
    h.engine->sayText("nothing to speak with");
    h.engine->waitUntilIdle();
    EXPECT_TRUE(h.spoken.empty());
  }
  // A later engine starts cleanly again.
  EngineHarness h;
  EXPECT_EQ(h.engine->lastError(), 0);
}

TEST(EspeakEngine, ShuttingDownDropsQueuedSpeechWithoutHanging) {
  EngineHarness h;
  h.engine->setCurrentMode(1);
  for (int i = 0; i < 50; ++i) h.engine->sayText("今日はいい天気ですね。明日も晴れるでしょう。");
  h.engine.reset();  // joins the worker: what it did is now safe to read
  // The queue is dropped and the utterance in hand cut short, not spoken out.
  EXPECT_LT(h.spoken.size(), 3u);
}

// A sound server that has stopped answering: the sink's open or write never returns until the
// test lets it go.
class StalledSink : public CaptureSink {
 public:
  struct Gate {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    void wait() {
      std::unique_lock lock(mutex);
      released.wait(lock, [this] { return open; });
    }
    void release() {
      std::lock_guard lock(mutex);
      open = true;
      released.notify_all();
    }
  };
  StalledSink(std::shared_ptr<Gate> gate, bool inOpen) : gate_(std::move(gate)), inOpen_(inOpen) {}
  void open(int rate) override {
    if (inOpen_) gate_->wait();
    CaptureSink::open(rate);
  }
  void write(const std::int16_t* s, std::size_t n) override {
    if (!inOpen_) gate_->wait();
    CaptureSink::write(s, n);
  }

 private:
  std::shared_ptr<Gate> gate_;
  bool inOpen_;
};

TEST(EspeakEngine, ASoundDeviceThatStopsAnsweringHoldsUpNeitherTheStartNorTheEnd) {
  for (const bool inOpen : {true, false}) {
    SCOPED_TRACE(inOpen ? "stalled opening the device" : "stalled writing to it");
    const auto gate = std::make_shared<StalledSink::Gate>();
    EngineOptions options;
    options.makeSink = [gate, inOpen] { return std::make_unique<StalledSink>(gate, inOpen); };
    auto engine = std::make_unique<EspeakEngine>(std::move(options));
    EXPECT_EQ(engine->lastError(), inOpen ? EspeakEngine::kNoSoundDevice : EspeakEngine::kNoError);
    engine->setCurrentMode(2);
    engine->sayText("nobody hears this");
    engine->sayText("nor this");
    // Nothing reaches the device, so a bounded wait gives up.
    EXPECT_FALSE(engine->waitUntilIdle(std::chrono::milliseconds(300)));
    engine.reset();  // returns although the worker is still held
    gate->release();
  }
}

TEST(EspeakEngine, ARunawayTextIsCutToALengthWorthSpeaking) {
  EngineHarness h;
  h.engine->setCurrentMode(2);
  h.engine->sayText(std::string(1'000'000, 'a') + " end");
  h.engine->waitUntilIdle();
  ASSERT_EQ(h.spoken.size(), 1u);
  EXPECT_LE(h.spoken[0].text.size(), EspeakEngine::kMaxUtteranceBytes);
}

}  // namespace
}  // namespace orvane
