#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "core/error.hpp"
#include "reading/accent.hpp"
#include "reading/japanese_reading.hpp"
#include "speech/caption_cache.hpp"
#include "speech/sample_path.hpp"
#include "speech/speech_engine.hpp"
#include "speech/speechd_voices.hpp"
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

TEST(JapaneseReading, CountersOfPeopleAndDaysReadAsSpoken) {
  JapaneseReader reader;
  ASSERT_TRUE(reader.hasDictionary());
  const std::pair<const char*, const char*> cases[] = {
      {"友達と二人で行きます。", "トモダチトフタリデイキマス。"},
      {"一人です。", "ヒトリデス。"},
      {"四日に会う", "ヨッカニアウ"},
      {"二十日", "ハツカ"},
      {"十二人", "ジューニニン"},  // after another numeral: the dictionary's reading stands
  };
  for (const auto& [text, reading] : cases) {
    const auto segments = reader.read(text);
    ASSERT_EQ(segments.size(), 1u) << text;
    EXPECT_EQ(segments[0].text, reading) << text;
  }
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

TEST(VoiceCatalog, JapaneseFirstThenFliteThenESpeakEnglishThenTheRest) {
  const auto modes = orderVoiceModes({
      {"Afrikaans", "gmw/af", "af"},
      {"English (Great Britain)", "gmw/en", "en-gb"},
      {"English (America, eSpeak NG)", "gmw/en-US", "en-us"},
      {"English (Scotland)", "gmw/en-GB-scotland", "en-gb-scotland"},
      {"English (Caribbean)", "gmw/en-029", "en-029"},
      {"Japanese", "jpx/ja", "ja"},
      {"English (America)", "flite/rms", "en-us", true},
      {"English (America, slt)", "flite/slt", "en-us", true},
  });
  const std::pair<const char*, std::int32_t> expected[] = {
      {"Japanese", 1041},
      {"English (America)", 1033},  // Flite's rms: mode 2, the drill's English voice
      {"English (America, slt)", 1033},
      {"English (America, eSpeak NG)", 1033},
      {"English (Great Britain)", 2057},
      {"English (Scotland)", 2057},  // a British variant
      {"English (Caribbean)", 9},    // other English
      {"Afrikaans", 0},
  };
  ASSERT_EQ(modes.size(), std::size(expected));
  for (std::size_t i = 0; i < modes.size(); ++i) {
    EXPECT_EQ(modes[i].title, expected[i].first) << "mode " << i + 1;
    EXPECT_EQ(modes[i].languageId, expected[i].second) << "mode " << i + 1;
  }
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
    engine = std::make_unique<SpeechEngine>(std::move(options));
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
  std::unique_ptr<SpeechEngine> engine;
};

TEST(SpeechEngine, ListsJapaneseAndEnglishFirstAndKeepsSpeedInRange) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  EXPECT_EQ(e.lastError(), 0);
  ASSERT_GE(e.voiceModeCount(), 2);
  EXPECT_EQ(e.voiceModeLanguage(1), 1041);
  EXPECT_EQ(e.voiceModeTitle(2), "English (America)");
  EXPECT_EQ(e.voiceModeLanguage(2), 1033);
  EXPECT_THROW(e.voiceModeTitle(0), Error);
  EXPECT_THROW(e.voiceModeLanguage(e.voiceModeCount() + 1), Error);
  EXPECT_EQ(e.minRate(), 80);
  e.speak({"slow", 2, 10});
  e.speak({"fast", 2, 9000});
  e.waitUntilIdle();
  ASSERT_EQ(h.spoken.size(), 2u);
  EXPECT_EQ(h.spoken[0].rate, 80);
  EXPECT_EQ(h.spoken[1].rate, 450);
  for (int i = 1; i <= e.voiceModeCount(); ++i) {
    EXPECT_EQ(e.voiceModeTitle(i).rfind("mb-", 0), std::string::npos) << "mbrola voice listed";
  }
}

TEST(SpeechEngine, SpeaksAKanjiPromptAndAnEnglishWordAudibly) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  e.speak({"今日はいい天気ですね。", 1, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  const double prompt = h.seconds();
  EXPECT_GT(prompt, 1.0);
  EXPECT_LT(prompt, 4.0);
  EXPECT_GT(h.rms(0, h.sink->samples().size()), 500.0);
  ASSERT_EQ(h.spoken.size(), 1u);
  EXPECT_EQ(h.spoken[0].voice, e.voiceModes()[0].identifier);
  EXPECT_EQ(withoutIdeographs(h.spoken[0].text), h.spoken[0].text);

  e.speak({"Hello", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  const double word = h.seconds() - prompt;
  EXPECT_GT(word, 0.2);
  EXPECT_LT(word, 1.5);
}

// Whether a shared library is in the process.
bool loaded(const char* library) {
  void* handle = ::dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
  if (handle) ::dlclose(handle);
  return handle != nullptr;
}

TEST(SpeechEngine, AFliteVoiceIsOpenedOnlyWhenItIsUsed) {
  // In a process of its own: another test may have used the voices already.
  EXPECT_EXIT(
      {
        EngineHarness h;
        SpeechEngine& e = *h.engine;
        bool ok = e.voiceModeCount() > 5 && !loaded("libflite.so.1");
        e.speak({"Hello", 2, SpeechEngine::kDefaultSpeed});
        e.waitUntilIdle();
        ok = ok && loaded("libflite_cmu_us_rms.so.1") && !loaded("libflite_cmu_us_slt.so.1") &&
             !loaded("libflite_cmu_us_awb.so.1") && h.rms(0, h.sink->samples().size()) > 500;
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(SpeechEngine, PunctuationCaptionsAreSpokenByName) {
  // The ".", "?" and "!" buttons must be heard when they take the focus; read as punctuation
  // they would be silence. In a sentence the marks stay unspoken.
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  double before = 0;
  for (const char* mark : {".", "?", "!", " ! "}) {
    e.speak({mark, 2, SpeechEngine::kDefaultSpeed});
    e.waitUntilIdle();
    EXPECT_GT(h.seconds() - before, 0.3) << '"' << mark << '"';
    const auto from = static_cast<std::size_t>(before * e.sampleRate());
    EXPECT_GT(h.rms(from, h.sink->samples().size()), 300.0) << '"' << mark << '"';
    before = h.seconds();
  }
  e.speak({"Run", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  const double word = h.seconds() - before;
  before = h.seconds();
  e.speak({"Run!", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  EXPECT_LT(h.seconds() - before, word + 0.3) << "the mark in a sentence was spoken";
}

TEST(SpeechEngine, AServersVoicesArePendingOnlyWhileTheyAreListed) {
  EngineHarness h;  // the tests' speech server address has no server
  SpeechEngine& e = *h.engine;
  EXPECT_FALSE(e.serverVoicesPending());
  e.wantServerVoices();
  EXPECT_FALSE(e.voiceModeTitle(1).empty());  // a built-in mode: no wait for the server
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(6);
  while (e.serverVoicesPending() && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_FALSE(e.serverVoicesPending());
  EXPECT_EQ(e.voiceModeCount(), e.builtInVoiceModeCount());
}

TEST(SpeechEngine, APromptWithItsAccentIsNoLongerThanWithout) {
  const auto length = [](std::optional<std::string> accentDictionary) {
    EngineOptions options;
    options.accentDictionary = std::move(accentDictionary);
    EngineHarness h(std::move(options));
    for (const char* prompt : {"箸で食べます。", "一人で九時に郵便局へ行きますか？"}) {
      h.engine->speak({prompt, 1, SpeechEngine::kDefaultSpeed});
    }
    h.engine->waitUntilIdle();
    return h.seconds();
  };
  const double plain = length(""), accented = length(std::nullopt);
  if (!AccentDictionary(AccentDictionary::defaultFolder()).available()) GTEST_SKIP();
  EXPECT_GT(accented, plain * 0.9);
  EXPECT_LE(accented, plain * 1.05);
}

TEST(SpeechEngine, QueuedUtterancesKeepTheirOrderVoiceAndRate) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  e.speak({"one", 2, 300});
  e.speak({"二です", 1, 120});
  e.speak({"three", 2, 120});
  e.speak({"four", 9999, 120});  // no such mode: the text's own language decides
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

TEST(SpeechEngine, SlowerRatesGiveLongerSpeech) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  e.speak({"This is a longer sentence to time.", 2, 80});
  e.waitUntilIdle();
  const auto slow = h.sink->samples().size();
  e.speak({"This is a longer sentence to time.", 2, 450});
  e.waitUntilIdle();
  const auto fast = h.sink->samples().size() - slow;
  EXPECT_GT(slow, fast * 2);
}

TEST(SpeechEngine, WithoutASoundDeviceTheDrillGoesOnAndSpeechResumesLater) {
  EngineHarness::startWithoutDevice = true;
  EngineHarness h;
  EngineHarness::startWithoutDevice = false;
  SpeechEngine& e = *h.engine;
  EXPECT_EQ(e.lastError(), SpeechEngine::kNoSoundDevice);
  e.speak({"lost", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  EXPECT_TRUE(h.sink->samples().empty());
  EXPECT_EQ(e.lastError(), SpeechEngine::kNoSoundDevice);

  h.sink->failOpen = false;  // the device is back
  e.speak({"back", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  EXPECT_FALSE(h.sink->samples().empty());
  EXPECT_EQ(e.lastError(), 0);
}

TEST(SpeechEngine, ADeviceThatGoesAwayMidRunIsReportedAndRecovered) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  e.speak({"first", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  const auto before = h.sink->samples().size();
  ASSERT_GT(before, 0u);
  h.sink->failWrite = true;
  e.speak({"second", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  EXPECT_EQ(e.lastError(), SpeechEngine::kSoundDeviceFailed);
  EXPECT_EQ(h.sink->samples().size(), before);
  h.sink->failWrite = false;
  e.speak({"third", 2, SpeechEngine::kDefaultSpeed});
  e.waitUntilIdle();
  EXPECT_GT(h.sink->samples().size(), before);
  EXPECT_EQ(e.lastError(), 0);
}

TEST(SpeechEngine, MissingDataIsReportedAndNothingCrashes) {
  {
    EngineOptions options;
    options.mecabDictionary = "/nonexistent/dic";
    EngineHarness h(options);
    EXPECT_EQ(h.engine->lastError(), SpeechEngine::kNoDictionary);
    h.engine->speak({"学生です", 1, SpeechEngine::kDefaultSpeed});
    h.engine->waitUntilIdle();
    ASSERT_EQ(h.spoken.size(), 1u);
    EXPECT_EQ(h.spoken[0].text, "です");
  }
  {
    EngineOptions options;
    options.espeakData = "/nonexistent/espeak-ng-data";
    EngineHarness h(options);
    // Without eSpeak NG's data, Flite's English still speaks, with the numbers it always has;
    // the Japanese mode is a silent stand-in.
    EXPECT_EQ(h.engine->lastError(), SpeechEngine::kNoVoiceData);
    ASSERT_EQ(h.engine->voiceModeCount(), 5);
    EXPECT_EQ(h.engine->voiceModeLanguage(1), 1041);
    EXPECT_EQ(h.engine->voiceModeTitle(2), "English (America)");
    h.engine->speak({"日本語です", 1, SpeechEngine::kDefaultSpeed});
    h.engine->speak({"still heard", 2, SpeechEngine::kDefaultSpeed});
    h.engine->waitUntilIdle();
    ASSERT_EQ(h.spoken.size(), 1u);
    EXPECT_EQ(h.spoken[0].text, "still heard");
    EXPECT_FALSE(h.sink->samples().empty());
  }
  // A later engine starts cleanly again.
  EngineHarness h;
  EXPECT_EQ(h.engine->lastError(), 0);
}

TEST(SpeechEngine, ShuttingDownDropsQueuedSpeechWithoutHanging) {
  EngineHarness h;
  for (int i = 0; i < 50; ++i)
    h.engine->speak(
        {"今日はいい天気ですね。明日も晴れるでしょう。", 1, SpeechEngine::kDefaultSpeed});
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

TEST(SpeechEngine, ASoundDeviceThatStopsAnsweringHoldsUpNeitherTheStartNorTheEnd) {
  for (const bool inOpen : {true, false}) {
    SCOPED_TRACE(inOpen ? "stalled opening the device" : "stalled writing to it");
    const auto gate = std::make_shared<StalledSink::Gate>();
    EngineOptions options;
    options.makeSink = [gate, inOpen] { return std::make_unique<StalledSink>(gate, inOpen); };
    auto engine = std::make_unique<SpeechEngine>(std::move(options));
    EXPECT_EQ(engine->lastError(), inOpen ? SpeechEngine::kNoSoundDevice : SpeechEngine::kNoError);
    engine->speak({"nobody hears this", 2, SpeechEngine::kDefaultSpeed});
    engine->speak({"nor this", 2, SpeechEngine::kDefaultSpeed});
    // Nothing reaches the device, so a bounded wait gives up.
    EXPECT_FALSE(engine->waitUntilIdle(std::chrono::milliseconds(300)));
    engine.reset();  // returns although the worker is still held
    gate->release();
  }
}

TEST(SpeechEngine, ARunawayTextIsCutToALengthWorthSpeakingAndSpokenInShortPieces) {
  EngineHarness h;
  // Mode 6 is eSpeak NG's, the quicker to speak a long text.
  h.engine->speak({std::string(1'000'000, 'a') + " end", 6, SpeechEngine::kDefaultSpeed});
  h.engine->waitUntilIdle();
  std::size_t total = 0;
  for (const Spoken& s : h.spoken) total += s.text.size();
  EXPECT_LE(total, SpeechEngine::kMaxUtteranceBytes);
  // A synthesiser analyses a whole piece before its first sample: the first is short, none long.
  ASSERT_GT(h.spoken.size(), 1u);
  EXPECT_LE(h.spoken.front().text.size(), 16u);
  for (const Spoken& s : h.spoken) EXPECT_LE(s.text.size(), 192u);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

// --- The sample path ---

TEST(SamplePath, LeadingSilenceIsDroppedAndTheSoundFadesInWhateverThePieces) {
  std::vector<std::int16_t> input(400, 20);  // a faint hiss, below hearing
  for (int i = 0; i < 600; ++i) input.push_back(static_cast<std::int16_t>(i % 2 ? 8000 : -8000));
  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, input.size()}) {
    LeadingSilenceTrimmer trimmer(16000);
    std::vector<std::int16_t> out;
    for (std::size_t at = 0; at < input.size(); at += piece) {
      trimmer.process(input.data() + at, std::min(piece, input.size() - at), out);
    }
    ASSERT_EQ(out.size(), 600u) << "pieces of " << piece;
    EXPECT_LT(std::abs(out[0]), 200) << "no click at the start";
    EXPECT_EQ(std::abs(out[100]), 8000) << "full level after the fade";
    trimmer.reset();  // the next utterance is trimmed again
    out.clear();
    trimmer.process(input.data(), 400, out);
    EXPECT_TRUE(out.empty());
  }
}

TEST(SamplePath, RateConversionKeepsTheLengthAndIsSeamlessAcrossPieces) {
  std::vector<std::int16_t> input;
  for (int i = 0; i < 1600; ++i) {
    input.push_back(static_cast<std::int16_t>(10000 * std::sin(2 * M_PI * 440 * i / 16000.0)));
  }
  RateConverter whole(16000, 22050);
  std::vector<std::int16_t> once;
  whole.process(input.data(), input.size(), once);
  EXPECT_NEAR(static_cast<double>(once.size()), 2205.0, 2.0);
  RateConverter pieces(16000, 22050);
  std::vector<std::int16_t> inPieces;
  for (std::size_t at = 0; at < input.size(); at += 333) {
    pieces.process(input.data() + at, std::min<std::size_t>(333, input.size() - at), inPieces);
  }
  EXPECT_EQ(inPieces, once);
}

// --- Every voice, and the focus captions ---

TEST(SpeechEngine, EveryVoiceStartsAtItsFirstSoundAndKeepsTheSpeedUnits) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  const auto& modes = e.voiceModes();
  for (std::int32_t mode = 1; mode <= 7 && mode <= e.voiceModeCount(); ++mode) {
    SCOPED_TRACE(modes[static_cast<std::size_t>(mode - 1)].title);
    const bool japanese = modes[static_cast<std::size_t>(mode - 1)].japanese();
    const std::string text = japanese ? "はい" : "Start";
    double length[2] = {};
    for (const std::int32_t speed : {SpeechEngine::kDefaultSpeed, SpeechEngine::kMinSpeed}) {
      const std::size_t from = h.sink->samples().size();
      e.speak({text, mode, speed});
      e.waitUntilIdle();
      const auto samples = h.sink->samples();
      ASSERT_GT(samples.size(), from);
      // No silence before the sound: the first 20 ms are already speech (untrimmed, every
      // voice starts with 10 to 180 ms of silence).
      const auto first20ms = from + static_cast<std::size_t>(e.sampleRate() / 50);
      EXPECT_GT(h.rms(from, first20ms), 100.0) << "speed " << speed;
      length[speed == SpeechEngine::kMinSpeed] = static_cast<double>(samples.size() - from);
    }
    EXPECT_GT(length[1], length[0] * 1.4) << "the slow speed is not slower";
  }
}

TEST(SpeechEngine, TextsInTheWrongLanguageGoToTheRightVoice) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  const std::int32_t rate = SpeechEngine::kDefaultSpeed;
  e.speak({"hello", 3, rate});  // an English voice other than the first
  // Latin words in a prompt: the English voice last used.
  e.speak({"私はTomです。", 1, rate});
  // Japanese for an English voice: the Japanese voice reads it.
  e.speak({"今日は", 2, rate});
  e.waitUntilIdle();
  const auto voiceOf = [&](const std::string& text) {
    for (const Spoken& s : h.spoken) {
      if (s.text.find(text) != std::string::npos) return s.voice;
    }
    return std::string("(not spoken)");
  };
  EXPECT_EQ(voiceOf("Tom"), e.voiceModes()[2].identifier);
  EXPECT_EQ(voiceOf("キョ"), e.voiceModes()[0].identifier);
}

// A sound device that plays in real time, so that speech takes as long as it sounds.
class RealTimeSink : public CaptureSink {
 public:
  void write(const std::int16_t* s, std::size_t n) override {
    std::this_thread::sleep_for(std::chrono::microseconds(n * 1'000'000 / 22050));
    CaptureSink::write(s, n);
  }
};

TEST(CaptionCache, KeepsWhatWasLatelyUsedWithinItsBound) {
  CaptionCache cache(10);
  const auto key = [](const char* text) { return CaptionCache::keyOf("flite/rms", 175, text); };
  cache.store(key("a"), {1, 1, 1, 1});
  cache.store(key("b"), {2, 2, 2, 2});
  ASSERT_NE(cache.find(key("a")), nullptr);  // now the latest used
  cache.store(key("c"), {3, 3, 3, 3});       // "b", used longest ago, gives way
  EXPECT_EQ(cache.find(key("b")), nullptr);
  EXPECT_EQ(*cache.find(key("a")), (std::vector<std::int16_t>{1, 1, 1, 1}));
  cache.store(key("a"), {5, 5});  // replaced, not held twice
  EXPECT_EQ(cache.samples(), 6u);
  cache.store(key("huge"), std::vector<std::int16_t>(11, 7));  // longer than the whole cache
  EXPECT_EQ(cache.find(key("huge")), nullptr);
  EXPECT_NE(CaptionCache::keyOf("flite/rms", 80, "a"), key("a"));  // the rate counts
}

TEST(SpeechEngine, ACaptionHeardBeforeIsPlayedAgainWithoutTheSynthesiser) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  const auto caption = [&](const char* text, std::int32_t rate = SpeechEngine::kDefaultSpeed) {
    const std::size_t from = h.sink->samples().size();
    e.speak({text, 2, rate, true});
    e.waitUntilIdle();
    const auto all = h.sink->samples();
    return std::vector<std::int16_t>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
  };
  const auto first = caption("Good");
  const std::size_t synthesised = h.spoken.size();
  EXPECT_EQ(caption("Good"), first);
  EXPECT_EQ(h.spoken.size(), synthesised);
  EXPECT_GT(caption("Good", 80).size(), first.size());  // another rate is another sound
  EXPECT_EQ(h.spoken.size(), synthesised + 1);
}

TEST(SpeechEngine, ExpectedCaptionsAreReadiedWhileNothingIsSaid) {
  EngineHarness h;
  SpeechEngine& e = *h.engine;
  e.expectCaptions(2, SpeechEngine::kDefaultSpeed, {"morning", "!"});
  // Readying two words takes milliseconds, and makes no sound.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(h.sink->samples().empty());
  EXPECT_TRUE(h.spoken.empty());
  for (const char* caption : {"!", "morning", "evening"}) {
    e.speak({caption, 2, SpeechEngine::kDefaultSpeed, true});
    e.waitUntilIdle();  // each heard whole
  }
  // Only the caption nobody expected went to the synthesiser; the others were heard all the same.
  ASSERT_EQ(h.spoken.size(), 1u);
  EXPECT_EQ(h.spoken[0].text, "evening");
  EXPECT_GT(h.rms(0, h.sink->samples().size()), 500.0);
}

TEST(SpeechdVoices, SpeedMapsOntoTheServersRateAsItsESpeakModuleCountsIt) {
  // The module: 80 words a minute at -100, 170 at 0, 449 at +100, straight lines between.
  const std::pair<std::int32_t, int> cases[] = {
      {80, -100}, {125, -50}, {170, 0}, {175, 2}, {449, 100}, {450, 100}, {20, -100},
  };
  for (const auto& [wordsPerMinute, rate] : cases) {
    EXPECT_EQ(SpeechdVoices::serverRate(wordsPerMinute), rate) << wordsPerMinute;
  }
}

TEST(SpeechEngine, AFocusCaptionCutsOffTheLastButNeverASentence) {
  RealTimeSink* sink = nullptr;
  std::vector<std::string> started;
  std::mutex m;
  EngineOptions options;
  options.makeSink = [&sink] {
    auto s = std::make_unique<RealTimeSink>();
    sink = s.get();
    return s;
  };
  options.onSynthesis = [&](const std::string&, std::int32_t, const std::string& text) {
    std::lock_guard lock(m);
    started.push_back(text);
  };
  SpeechEngine e(std::move(options));
  e.lastError();  // the worker has made its sink by then
  const auto spokenAlone = [&](const std::string& text) {
    const std::size_t from = sink->samples().size();
    e.speak({text, 2, SpeechEngine::kDefaultSpeed});
    e.waitUntilIdle();
    return sink->samples().size() - from;
  };
  const std::size_t caption = spokenAlone("Everything");
  const std::size_t sentence = spokenAlone("I am a student.");

  // Eight captions in a burst: the first is cut off, those waiting are dropped, the last is
  // heard whole.
  started.clear();
  std::size_t from = sink->samples().size();
  for (const char* word : {"Everything", "one", "two", "three", "four", "five", "six", "Start"}) {
    e.speak({word, 2, SpeechEngine::kDefaultSpeed, true});
    std::this_thread::sleep_for(std::chrono::milliseconds(word[0] == 'E' ? 150 : 1));
  }
  e.waitUntilIdle();
  {
    std::lock_guard lock(m);
    EXPECT_EQ(started.front(), "Everything");
    EXPECT_EQ(started.back(), "Start");
  }
  // Measured before the reference is spoken into the same sink.
  const std::size_t burst = sink->samples().size() - from;
  EXPECT_LT(burst, caption + spokenAlone("Start"));

  // A sentence is never cut, and what follows it keeps its place.
  started.clear();
  from = sink->samples().size();
  e.speak({"I am a student.", 2, SpeechEngine::kDefaultSpeed});
  e.speak({"Next", 2, SpeechEngine::kDefaultSpeed, true});
  e.waitUntilIdle();
  EXPECT_EQ(started, (std::vector<std::string>{"I am a student.", "Next"}));
  EXPECT_GE(sink->samples().size() - from, sentence);
}

TEST(SpeechEngine, HeldDownKeysCannotGrowTheQueueWithoutEnd) {
  const auto gate = std::make_shared<StalledSink::Gate>();
  std::atomic<int> synthesised{0};
  EngineOptions options;
  options.makeSink = [gate] { return std::make_unique<StalledSink>(gate, false); };
  options.onSynthesis = [&](const std::string&, std::int32_t, const std::string&) {
    ++synthesised;
  };
  SpeechEngine e(std::move(options));
  for (int i = 0; i < 1000; ++i) e.speak({"again", 2, SpeechEngine::kDefaultSpeed});
  gate->release();
  e.waitUntilIdle();
  EXPECT_LE(synthesised, static_cast<int>(SpeechEngine::kMaxQueued) + 1);
}

TEST(SpeechEngine, ACaptionTooLongToKeepIsCutReadiedOnceAndGivesWayToSpeech) {
  std::mutex m;
  std::vector<std::string> rehearsed;
  EngineOptions options;
  options.onRehearsal = [&](const std::string& text) {
    std::lock_guard lock(m);
    rehearsed.push_back(text);
  };
  EngineHarness h(std::move(options));
  SpeechEngine& e = *h.engine;
  const auto rehearsedNow = [&] {
    std::lock_guard lock(m);
    return rehearsed;
  };
  const auto waitFor = [&](std::size_t count) {
    for (int i = 0; i < 3000 && rehearsedNow().size() < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return rehearsedNow().size() >= count;
  };
  std::string longWord;
  while (longWord.size() < 100'000) longWord += "word ";
  const int speed = SpeechEngine::kDefaultSpeed;

  // Readied as it would be said: cut; far too long for the cache, so it is readied once only.
  e.expectCaptions(2, speed, {longWord, "Good"});
  ASSERT_TRUE(waitFor(2));
  EXPECT_LE(rehearsedNow()[0].size(), SpeechEngine::kMaxUtteranceBytes);
  e.expectCaptions(2, speed, {longWord, "Fine"});
  ASSERT_TRUE(waitFor(3));
  EXPECT_EQ(rehearsedNow().back(), "Fine");

  // One being readied gives way at once to what there is to say.
  e.expectCaptions(2, speed, {"again " + longWord});
  ASSERT_TRUE(waitFor(4));
  const auto start = std::chrono::steady_clock::now();
  e.speak({"Good", 2, speed, true});
  e.waitUntilIdle();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(rehearsedNow().size(), 4u);
}

}  // namespace
}  // namespace orvane
