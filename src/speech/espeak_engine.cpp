#include "speech/espeak_engine.hpp"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cctype>

#include "app/error.hpp"
#include "drill/text.hpp"
#include "speech/japanese_reading.hpp"
#include "speech/pcaudio_sink.hpp"

namespace orvane {

namespace {
// eSpeak NG keeps global state and calls back without a context of ours: the engine whose worker
// is synthesising is kept here. Engines' workers take turns at eSpeak NG under this lock.
std::atomic<EspeakEngine*> g_synthesising{nullptr};
std::mutex g_espeakOwner;

bool mbrolaDataInstalled(const std::string& identifier) {
  // "mb/mb-en1" needs /usr/share/mbrola/en1.
  const std::string prefix = "mb/mb-";
  if (identifier.rfind(prefix, 0) != 0) return true;
  const std::string name = identifier.substr(prefix.size());
  struct stat st {};
  return ::stat(("/usr/share/mbrola/" + name + "/" + name).c_str(), &st) == 0 ||
         ::stat(("/usr/share/mbrola/" + name).c_str(), &st) == 0;
}

// A text of marks alone (a ".", "?" or "!" button's caption) says nothing when the marks are
// read as punctuation; the English voice speaks the marks' names instead.
bool marksOnly(const std::string& text) {
  bool mark = false;
  for (const unsigned char c : text) {
    if (std::ispunct(c)) {
      mark = true;
    } else if (!std::isspace(c)) {
      return false;
    }
  }
  return mark;
}

int synthCallback(short* samples, int count, espeak_EVENT*) {
  return EspeakEngine::onSamples(samples, count);
}

std::string cut(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::string out;
  for (std::string_view ch : text::characters(text)) {
    if (out.size() + ch.size() > limit) break;
    out += ch;
  }
  return out;
}
}  // namespace

EspeakEngine::EspeakEngine(EngineOptions options) : options_(std::move(options)) {
  if (!options_.makeSink) {
    PcaudioSink::askForShortBuffer();
    options_.makeSink = [] { return std::make_unique<PcaudioSink>(); };
  }
  worker_ = std::thread([this] { run(); });
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return ready_; });
}

EspeakEngine::~EspeakEngine() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  abort_ = true;
  wake_.notify_all();
  worker_.join();
}

void EspeakEngine::run() {
  initialise();
  {
    std::lock_guard lock(mutex_);
    ready_ = true;
  }
  idle_.notify_all();
  for (;;) {
    Utterance u;
    {
      std::unique_lock lock(mutex_);
      busy_ = false;
      idle_.notify_all();
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) break;
      u = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
    }
    speak(u);
  }
  if (sink_) sink_->close();
}

void EspeakEngine::initialise() {
  // eSpeak NG is set up once per process and kept: shutting it down and starting it again
  // within one process can leave its internal threads waiting on each other.
  static bool initialised = false;
  static bool usable = false;
  static int rate = 22050;
  static std::vector<EngineVoice> voices;
  std::unique_lock owner(g_espeakOwner);
  const std::string& data = options_.espeakData;
  struct stat st {};
  if (!data.empty() && ::stat((data + "/phontab").c_str(), &st) != 0) {
    noVoiceData_ = true;  // the named voice data is not there
  } else {
    if (!initialised) {
      initialised = true;
      espeak_ng_InitializePath(data.empty() ? nullptr : data.c_str());
      espeak_ng_ERROR_CONTEXT context = nullptr;
      usable = espeak_ng_Initialize(&context) == ENS_OK &&
               espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 40, nullptr) == ENS_OK;
      espeak_ng_ClearErrorContext(&context);
      if (usable) {
        rate = espeak_ng_GetSampleRate();
        espeak_SetSynthCallback(&synthCallback);
        for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
          const espeak_VOICE* voice = *v;
          if (!voice->name || !voice->identifier || !voice->languages) continue;
          if (!mbrolaDataInstalled(voice->identifier)) continue;
          voices.push_back({voice->name, voice->identifier, voice->languages + 1});
        }
      }
    }
    noVoiceData_ = !usable;
    sampleRate_ = rate;
    if (usable) modes_ = orderVoiceModes(voices);
  }
  owner.unlock();
  reader_ = std::make_unique<JapaneseReader>(options_.mecabDictionary);
  noDictionary_ = !reader_->hasDictionary();
  sink_ = options_.makeSink();
  ensureSinkOpen();
}

bool EspeakEngine::ensureSinkOpen() {
  if (sink_->isOpen()) return true;
  try {
    sink_->open(sampleRate_);
    std::lock_guard lock(mutex_);
    soundError_ = kNoError;
    return true;
  } catch (const AudioError&) {
    std::lock_guard lock(mutex_);
    soundError_ = kNoSoundDevice;
    return false;
  }
}

const VoiceMode* EspeakEngine::modeFor(std::int32_t mode, const std::string& text) const {
  if (mode >= 1 && mode <= static_cast<std::int32_t>(modes_.size())) {
    return &modes_[static_cast<std::size_t>(mode - 1)];
  }
  // A voice number that names no mode (an old speech.ini): the text's own language.
  const bool japanese = text::hasNonAscii(text);
  const auto it = std::find_if(modes_.begin(), modes_.end(), [&](const VoiceMode& m) {
    return japanese ? m.japanese() : m.language == "en-us";
  });
  return it != modes_.end() ? &*it : (modes_.empty() ? nullptr : &modes_.front());
}

void EspeakEngine::speak(const Utterance& u) {
  if (noVoiceData_ || u.text.empty()) return;
  const VoiceMode* mode = modeFor(u.mode, u.text);
  if (!mode || !ensureSinkOpen()) return;
  firstSamplesPending_ = true;
  const std::string text = cut(u.text, kMaxUtteranceBytes);
  if (mode->japanese()) {
    const VoiceMode* english = modeFor(0, "a");
    for (const ReadingSegment& s : reader_->read(text)) {
      synthesise(s.latin && english ? english->identifier : mode->identifier, u.rate, s.text,
                 false);
    }
  } else {
    synthesise(mode->identifier, u.rate, text, marksOnly(text));
  }
  if (sink_->isOpen()) sink_->endOfUtterance();
}

void EspeakEngine::synthesise(const std::string& voice, std::int32_t rate, const std::string& text,
                              bool sayMarks) {
  if (text.empty() || !sink_->isOpen()) return;
  if (options_.onSynthesis) options_.onSynthesis(voice, rate, text);
  std::lock_guard owner(g_espeakOwner);
  espeak_SetVoiceByName(voice.c_str());
  espeak_SetParameter(espeakRATE, rate, 0);
  espeak_SetParameter(espeakPUNCTUATION, sayMarks ? espeakPUNCT_ALL : espeakPUNCT_NONE, 0);
  g_synthesising = this;
  espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
               nullptr);
  g_synthesising = nullptr;
}

int EspeakEngine::onSamples(short* samples, int count) {
  EspeakEngine* self = g_synthesising.load();
  if (!self || self->abort_) return 1;  // stop this synthesis
  if (count <= 0 || !samples) return 0;
  try {
    self->sink_->write(samples, static_cast<std::size_t>(count));
  } catch (const AudioError&) {
    std::lock_guard lock(self->mutex_);
    self->soundError_ = kSoundDeviceFailed;
    return 1;
  }
  if (self->firstSamplesPending_) {
    self->firstSamplesPending_ = false;
    if (self->options_.onFirstSamples) self->options_.onFirstSamples();
  }
  return 0;
}

void EspeakEngine::setCurrentMode(std::int32_t mode) {
  std::lock_guard lock(mutex_);
  mode_ = mode;
}

std::int32_t EspeakEngine::speed() {
  std::lock_guard lock(mutex_);
  return speed_;
}

void EspeakEngine::setSpeed(std::int32_t speed) {
  std::lock_guard lock(mutex_);
  speed_ = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

std::int32_t EspeakEngine::lastError() {
  std::lock_guard lock(mutex_);
  if (noVoiceData_) return kNoVoiceData;
  if (soundError_ != kNoError) return soundError_;
  if (noDictionary_) return kNoDictionary;
  return kNoError;
}

std::int32_t EspeakEngine::voiceModeCount() {
  return static_cast<std::int32_t>(modes_.size());
}

void EspeakEngine::sayText(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({text, mode_, speed_});
  }
  wake_.notify_one();
}

std::string EspeakEngine::voiceModeTitle(std::int32_t mode) {
  if (mode < 1 || mode > voiceModeCount()) throw noSuchVoiceMode(mode);
  return modes_[static_cast<std::size_t>(mode - 1)].title;
}

std::int32_t EspeakEngine::voiceModeLanguage(std::int32_t mode) {
  if (mode < 1 || mode > voiceModeCount()) throw noSuchVoiceMode(mode);
  return modes_[static_cast<std::size_t>(mode - 1)].languageId;
}

void EspeakEngine::waitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return (queue_.empty() && !busy_) || stopping_; });
}

}  // namespace orvane
