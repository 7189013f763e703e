#include "speech/espeak_engine.hpp"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "core/error.hpp"
#include "core/text.hpp"
#include "speech/flite_voices.hpp"
#include "speech/japanese_reading.hpp"
#include "speech/pcaudio_sink.hpp"
#include "speech/sample_path.hpp"

namespace orvane {

namespace {
// eSpeak NG keeps global state and calls back without a context of ours: the engine whose worker
// is synthesising is kept here. Engines' workers take turns at eSpeak NG under this lock.
std::atomic<EspeakEngine::Impl*> g_synthesising{nullptr};
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

// The marks' names, for a caption of marks alone; every voice reads a lone mark as a pause.
std::string markNames(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const char* name = c == '.'   ? "period"
                       : c == '?' ? "question mark"
                       : c == '!' ? "exclamation mark"
                                  : nullptr;
    if (!name) continue;
    if (!out.empty()) out += ", ";
    out += name;
  }
  return out.empty() ? text : out;
}

std::string cut(const std::string& text, std::size_t limit) {
  return std::string(text::leadingChars(text, limit));
}
}  // namespace

// Everything the worker touches. The worker holds it too, so an engine that has to leave its
// worker behind (stuck in the audio library) frees nothing that the worker may still use.
class EspeakEngine::Impl {
 public:
  struct Utterance {
    std::string text;
    std::int32_t mode;
    std::int32_t rate;
    bool caption = false;  // a focus caption: the next one cuts it off
  };

  explicit Impl(EngineOptions options) : options_(std::move(options)) {}

  void run();
  void initialise();
  void speak(const Utterance& u);
  bool ensureSinkOpen();
  void synthesise(const VoiceMode& voice, std::int32_t rate, const std::string& text);
  const VoiceMode* modeFor(std::int32_t mode, const std::string& text) const;
  // The English voice for Latin words in a Japanese prompt: the one last used for English.
  const VoiceMode* englishVoice() const;
  // eSpeak NG's synthesis callback lands here (worker thread only).
  static int onSamples(short* samples, int count);
  // Every synthesiser's samples, at its own rate, go to the sink through here. False stops
  // the synthesis: the engine is going, the caption was cut off, or the device failed.
  bool deliver(const std::int16_t* samples, std::size_t count, int rate);
  bool stopped() const { return abort_ || cut_; }

  EngineOptions options_;
  std::vector<VoiceMode> modes_;  // fixed once the worker is ready
  int sampleRate_ = 22050;
  std::unique_ptr<JapaneseReader> reader_;
  std::unique_ptr<AudioSink> sink_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Utterance> queue_;
  bool ready_ = false;
  bool deviceAnswered_ = false;  // the first attempt to open the sound device has ended
  bool busy_ = false;
  bool stopping_ = false;
  bool finished_ = false;       // the worker has closed the sink and is about to return
  std::uint64_t progress_ = 0;  // counts sound reaching the sink and utterances ending
  std::int32_t mode_ = 0;
  std::int32_t speed_ = kDefaultSpeed;
  bool noVoiceData_ = false;
  bool noDictionary_ = false;
  std::int32_t soundError_ = kNoError;
  bool firstSamplesPending_ = false;
  std::atomic<bool> abort_{false};  // the engine is going: stop the utterance being spoken
  std::atomic<bool> cut_{false};    // a newer focus caption: stop the caption being spoken
  bool speakingCaption_ = false;    // under mutex_
  std::int32_t lastEnglishMode_ = 0;
  // The sample path of the utterance being spoken (worker thread only).
  LeadingSilenceTrimmer trimmer_{22050};
  int trimmerRate_ = 22050;
  std::unique_ptr<RateConverter> converter_;
  int converterRate_ = 0;
  std::vector<std::int16_t> trimmed_, converted_;
};

namespace {
int synthCallback(short* samples, int count, espeak_EVENT*) {
  return EspeakEngine::Impl::onSamples(samples, count);
}
}  // namespace

EspeakEngine::EspeakEngine(EngineOptions options)
    : impl_(std::make_shared<Impl>(std::move(options))) {
  if (!impl_->options_.makeSink) {
    PcaudioSink::askForShortBuffer();
    impl_->options_.makeSink = [] { return std::make_unique<PcaudioSink>(); };
  }
  worker_ = std::thread([impl = impl_] { impl->run(); });
  std::unique_lock lock(impl_->mutex_);
  impl_->idle_.wait(lock, [this] { return impl_->ready_; });
}

EspeakEngine::~EspeakEngine() {
  std::unique_lock lock(impl_->mutex_);
  impl_->stopping_ = true;
  impl_->queue_.clear();
  impl_->abort_ = true;
  impl_->wake_.notify_all();
  if (impl_->idle_.wait_for(lock, kShutdownWait, [this] { return impl_->finished_; })) {
    lock.unlock();
    worker_.join();
  } else {
    // Held in the audio library by a server that does not answer: the program must end all
    // the same. The worker keeps its own share of what it uses.
    lock.unlock();
    worker_.detach();
  }
}

void EspeakEngine::Impl::run() {
  initialise();
  {
    std::lock_guard lock(mutex_);
    ready_ = true;
  }
  idle_.notify_all();
  sink_ = options_.makeSink();
  ensureSinkOpen();
  {
    std::lock_guard lock(mutex_);
    deviceAnswered_ = true;
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
      speakingCaption_ = u.caption;
      cut_ = false;
    }
    speak(u);
    std::lock_guard lock(mutex_);
    ++progress_;
  }
  sink_->close();
  std::lock_guard lock(mutex_);
  finished_ = true;
  idle_.notify_all();
}

void EspeakEngine::Impl::initialise() {
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
          std::string name = voice->name;
          const std::string language = voice->languages + 1;
          if (language == "en-us") {
            // Flite's voice is the drill's English (America); eSpeak NG's own follows it, and
            // so does its Klatt variant, the clearer of eSpeak NG's.
            name = name.back() == ')' ? name.substr(0, name.size() - 1) + ", eSpeak NG)"
                                      : name + " (eSpeak NG)";
            voices.push_back({name, voice->identifier, language});
            voices.push_back({"English (America, eSpeak NG Klatt)",
                              std::string(voice->identifier) + "+klatt", language});
            continue;
          }
          voices.push_back({name, voice->identifier, language});
        }
        const auto english = flite::voices();
        voices.insert(voices.end(), english.begin(), english.end());
      }
    }
    noVoiceData_ = !usable;
    sampleRate_ = rate;
    if (usable) modes_ = orderVoiceModes(voices);
  }
  owner.unlock();
  reader_ = std::make_unique<JapaneseReader>(options_.mecabDictionary);
  noDictionary_ = !reader_->hasDictionary();
}

bool EspeakEngine::Impl::ensureSinkOpen() {
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

const VoiceMode* EspeakEngine::Impl::modeFor(std::int32_t mode, const std::string& text) const {
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

void EspeakEngine::Impl::speak(const Utterance& u) {
  if (noVoiceData_ || u.text.empty()) return;
  const VoiceMode* mode = modeFor(u.mode, u.text);
  if (!mode || !ensureSinkOpen()) return;
  // Japanese handed to a voice of another language would be read as noise: the Japanese
  // voice takes it.
  if (!mode->japanese() && text::hasNonAscii(u.text)) {
    if (const VoiceMode* japanese = modeFor(0, u.text); japanese && japanese->japanese()) {
      mode = japanese;
    }
  }
  if (mode->english()) lastEnglishMode_ = static_cast<std::int32_t>(mode - modes_.data()) + 1;
  firstSamplesPending_ = true;
  trimmer_.reset();
  if (converter_) converter_->reset();
  if (mode->japanese()) {
    const VoiceMode* english = englishVoice();
    for (const ReadingSegment& s : reader_->read(u.text)) {
      synthesise(s.latin && english ? *english : *mode, u.rate, s.text);
    }
  } else {
    synthesise(*mode, u.rate, marksOnly(u.text) ? markNames(u.text) : u.text);
  }
  if (!sink_->isOpen()) return;
  if (cut_) {
    sink_->flush();  // what the device still holds of the cut caption
  } else {
    sink_->endOfUtterance();
  }
}

const VoiceMode* EspeakEngine::Impl::englishVoice() const {
  if (lastEnglishMode_ >= 1 && lastEnglishMode_ <= static_cast<std::int32_t>(modes_.size())) {
    return &modes_[static_cast<std::size_t>(lastEnglishMode_ - 1)];
  }
  return modeFor(0, "a");
}

void EspeakEngine::Impl::synthesise(const VoiceMode& voice, std::int32_t rate,
                                    const std::string& text) {
  if (text.empty() || !sink_->isOpen() || stopped()) return;
  if (options_.onSynthesis) options_.onSynthesis(voice.identifier, rate, text);
  std::lock_guard owner(g_espeakOwner);
  if (voice.synthesiser == Synthesiser::Flite) {
    flite::synthesise(voice.identifier, rate, text,
                      [this](const std::int16_t* samples, std::size_t count) {
                        return deliver(samples, count, flite::kSampleRate);
                      });
    return;
  }
  espeak_SetVoiceByName(voice.identifier.c_str());
  espeak_SetParameter(espeakRATE, rate, 0);
  espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
  g_synthesising = this;
  espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
               nullptr);
  g_synthesising = nullptr;
}

int EspeakEngine::Impl::onSamples(short* samples, int count) {
  Impl* self = g_synthesising.load();
  if (!self) return 1;
  if (count <= 0 || !samples) return self->stopped() ? 1 : 0;
  return self->deliver(samples, static_cast<std::size_t>(count), self->sampleRate_) ? 0 : 1;
}

bool EspeakEngine::Impl::deliver(const std::int16_t* samples, std::size_t count, int rate) {
  if (stopped()) return false;
  if (rate != trimmerRate_) {
    trimmer_ = LeadingSilenceTrimmer(rate);
    trimmerRate_ = rate;
  }
  trimmed_.clear();
  trimmer_.process(samples, count, trimmed_);
  const std::vector<std::int16_t>* out = &trimmed_;
  if (rate != sampleRate_) {
    if (!converter_ || converterRate_ != rate) {
      converter_ = std::make_unique<RateConverter>(rate, sampleRate_);
      converterRate_ = rate;
    }
    converted_.clear();
    converter_->process(trimmed_.data(), trimmed_.size(), converted_);
    out = &converted_;
  }
  // Small pieces, so that a cut-off or the engine's end is seen within a few milliseconds.
  const std::size_t piece = static_cast<std::size_t>(sampleRate_) / 100;
  for (std::size_t at = 0; at < out->size(); at += piece) {
    if (stopped()) return false;
    try {
      sink_->write(out->data() + at, std::min(piece, out->size() - at));
    } catch (const AudioError&) {
      std::lock_guard lock(mutex_);
      soundError_ = kSoundDeviceFailed;
      return false;
    }
    {
      std::lock_guard lock(mutex_);
      ++progress_;
    }
    if (stopped()) return false;  // the engine went, or a newer caption came, during the write
    if (firstSamplesPending_) {
      firstSamplesPending_ = false;
      if (options_.onFirstSamples) options_.onFirstSamples();
    }
  }
  return true;
}

void EspeakEngine::setCurrentMode(std::int32_t mode) {
  std::lock_guard lock(impl_->mutex_);
  impl_->mode_ = mode;
}

std::int32_t EspeakEngine::speed() {
  std::lock_guard lock(impl_->mutex_);
  return impl_->speed_;
}

void EspeakEngine::setSpeed(std::int32_t speed) {
  std::lock_guard lock(impl_->mutex_);
  impl_->speed_ = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

std::int32_t EspeakEngine::lastError() {
  std::unique_lock lock(impl_->mutex_);
  Impl& s = *impl_;
  if (s.noVoiceData_) return kNoVoiceData;
  // A device that has not answered in that time is as good as missing.
  if (!s.idle_.wait_for(lock, kDeviceAnswerWait, [&] { return s.deviceAnswered_; })) {
    return kNoSoundDevice;
  }
  if (s.soundError_ != kNoError) return s.soundError_;
  if (s.noDictionary_) return kNoDictionary;
  return kNoError;
}

std::int32_t EspeakEngine::voiceModeCount() {
  return static_cast<std::int32_t>(impl_->modes_.size());
}

void EspeakEngine::sayText(const std::string& text) {
  {
    std::lock_guard lock(impl_->mutex_);
    auto& queue = impl_->queue_;
    // Hours of held-down keys must not grow the queue without end: the oldest give way.
    if (queue.size() >= kMaxQueued) queue.pop_front();
    queue.push_back({cut(text, kMaxUtteranceBytes), impl_->mode_, impl_->speed_, false});
  }
  impl_->wake_.notify_one();
}

void EspeakEngine::sayCaption(const std::string& text) {
  {
    std::lock_guard lock(impl_->mutex_);
    Impl& s = *impl_;
    // An earlier caption still waiting is dropped, one being spoken is cut off at once: the
    // learner hears where the focus is now, not where it was.
    std::erase_if(s.queue_, [](const Impl::Utterance& u) { return u.caption; });
    // The worker sees the cut within one small piece of sound and drops what the device
    // still holds; this thread never waits on the device.
    if (s.busy_ && s.speakingCaption_) s.cut_ = true;
    if (s.queue_.size() >= kMaxQueued) s.queue_.pop_front();
    s.queue_.push_back({cut(text, kMaxUtteranceBytes), s.mode_, s.speed_, true});
  }
  impl_->wake_.notify_one();
}

std::string EspeakEngine::voiceModeTitle(std::int32_t mode) {
  if (mode < 1 || mode > voiceModeCount()) throw noSuchVoiceMode(mode);
  return impl_->modes_[static_cast<std::size_t>(mode - 1)].title;
}

std::int32_t EspeakEngine::voiceModeLanguage(std::int32_t mode) {
  if (mode < 1 || mode > voiceModeCount()) throw noSuchVoiceMode(mode);
  return impl_->modes_[static_cast<std::size_t>(mode - 1)].languageId;
}

void EspeakEngine::waitUntilIdle() {
  Impl& s = *impl_;
  std::unique_lock lock(s.mutex_);
  s.idle_.wait(lock, [&] { return (s.queue_.empty() && !s.busy_) || s.stopping_; });
}

bool EspeakEngine::waitUntilIdle(std::chrono::milliseconds stall) {
  Impl& s = *impl_;
  std::unique_lock lock(s.mutex_);
  const auto done = [&] { return (s.queue_.empty() && !s.busy_) || s.stopping_; };
  for (;;) {
    const std::uint64_t progress = s.progress_;
    if (s.idle_.wait_for(lock, stall, done)) return true;
    if (s.progress_ == progress) return false;
  }
}

const std::vector<VoiceMode>& EspeakEngine::voiceModes() const {
  return impl_->modes_;
}

int EspeakEngine::sampleRate() const {
  return impl_->sampleRate_;
}

}  // namespace orvane
