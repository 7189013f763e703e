#include "speech/speech_engine.hpp"

#include <algorithm>

#include "core/error.hpp"
#include "core/text.hpp"
#include "speech/device_sink.hpp"
#include "speech/engine_worker.hpp"

namespace orvane {

namespace {
std::string cut(std::string_view text, std::size_t limit) {
  return std::string(text::leadingChars(text, limit));
}

std::int32_t clampRate(std::int32_t rate) {
  return std::clamp(rate, SpeechEngine::kMinSpeed, SpeechEngine::kMaxSpeed);
}
}  // namespace

SpeechEngine::SpeechEngine(EngineOptions options)
    : impl_(std::make_shared<Impl>(std::move(options))) {
  if (!impl_->options_.makeSink) {
    impl_->options_.makeSink = [] { return std::make_unique<DeviceSink>(); };
  }
  // The voices start on the worker while the caller goes on (the window is built meanwhile);
  // whatever needs the voice modes waits for them.
  worker_ = std::thread([impl = impl_] { impl->run(); });
}

void SpeechEngine::Impl::waitUntilReady() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return ready_; });
}

SpeechEngine::~SpeechEngine() {
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
    return;
  }
  // The list of a speech server's voices, likewise: it is left to end on its own if the
  // server does not answer.
  lock.lock();
  impl_->idle_.wait_for(lock, kShutdownWait, [this] { return impl_->listerDone_; });
}

std::int32_t SpeechEngine::lastError() {
  impl_->waitUntilReady();
  std::unique_lock lock(impl_->mutex_);
  Impl& s = *impl_;
  if (s.noVoiceData_ || s.silentVoice_) return kNoVoiceData;
  // A device that has not answered in that time is as good as missing.
  if (!s.idle_.wait_for(lock, kDeviceAnswerWait, [&] { return s.deviceAnswered_; })) {
    return kNoSoundDevice;
  }
  if (s.soundError_ != kNoError) return s.soundError_;
  if (s.noDictionary_) return kNoDictionary;
  return kNoError;
}

void SpeechEngine::wantServerVoices() {
  Impl& s = *impl_;
  s.waitUntilReady();
  std::lock_guard lock(s.mutex_);
  if (s.serverWanted_) return;
  s.serverWanted_ = true;
  s.serverWantedAt_ = std::chrono::steady_clock::now();
  // A listing under way looks again when it ends; one that found no server lists again now.
  if (!s.listerDone_ || s.serverVoicesFound_) return;
  s.listed_ = false;
  s.listerDone_ = false;
  std::thread([self = impl_] { self->listServerVoices(); }).detach();
}

std::int32_t SpeechEngine::builtInVoiceModeCount() {
  impl_->waitUntilReady();
  return static_cast<std::int32_t>(impl_->knownModes(false).size());
}

std::int32_t SpeechEngine::voiceModeCount() {
  return static_cast<std::int32_t>(voiceModes().size());
}

void SpeechEngine::speak(const Utterance& u) {
  {
    std::lock_guard lock(impl_->mutex_);
    Impl& s = *impl_;
    if (u.cutByNextCaption) {
      // An earlier caption still waiting is dropped, one being spoken is cut off at once: the
      // learner hears where the focus is now, not where it was.
      std::erase_if(s.queue_, [](const Impl::Utterance& q) { return q.caption; });
      // The worker sees the cut within one small piece of sound and drops what the device
      // still holds; this thread never waits on the device.
      if (s.busy_ && s.speakingCaption_) s.cut_ = true;
    }
    // Hours of held-down keys must not grow the queue without end: the oldest give way.
    if (s.queue_.size() >= kMaxQueued) s.queue_.pop_front();
    s.queue_.push_back({cut(u.text, kMaxUtteranceBytes), u.mode, clampRate(u.rate),
                        u.cutByNextCaption, u.besideScreenReader});
  }
  impl_->wake_.notify_one();
}

void SpeechEngine::expectCaptions(std::int32_t mode, std::int32_t rate,
                                  const std::vector<std::string>& texts) {
  {
    std::lock_guard lock(impl_->mutex_);
    // Cut as spoken captions are: what is readied is what would be said.
    std::vector<std::string> cutTexts;
    cutTexts.reserve(texts.size());
    for (const std::string& text : texts) cutTexts.push_back(cut(text, kMaxUtteranceBytes));
    impl_->expected_ = {mode, clampRate(rate), std::move(cutTexts)};
  }
  impl_->wake_.notify_one();
}

// A built-in mode is named without waiting for a server's voices, which are numbered after them.
const VoiceMode& SpeechEngine::voiceMode(std::int32_t mode) {
  impl_->waitUntilReady();
  const auto& modes = impl_->knownModes(mode > builtInVoiceModeCount());
  if (mode < 1 || mode > static_cast<std::int32_t>(modes.size())) throw noSuchVoiceMode(mode);
  return modes[static_cast<std::size_t>(mode - 1)];
}

std::string SpeechEngine::voiceModeTitle(std::int32_t mode) {
  return voiceMode(mode).title;
}

std::int32_t SpeechEngine::voiceModeLanguage(std::int32_t mode) {
  return voiceMode(mode).languageId;
}

bool SpeechEngine::serverVoicesPending() {
  Impl& s = *impl_;
  s.waitUntilReady();
  std::lock_guard lock(s.mutex_);
  if (!s.serverWanted_ || s.listed_) return false;
  // As long as anything waits for them, and no longer: then they are left out for good.
  if (std::chrono::steady_clock::now() - s.serverWantedAt_ < Impl::kListingWait) return true;
  s.listed_ = true;
  return false;
}

bool SpeechEngine::speaking() {
  Impl& s = *impl_;
  std::lock_guard lock(s.mutex_);
  return !s.queue_.empty() || s.busy_;
}

void SpeechEngine::waitUntilIdle() {
  Impl& s = *impl_;
  std::unique_lock lock(s.mutex_);
  s.idle_.wait(lock, [&] { return (s.queue_.empty() && !s.busy_) || s.stopping_; });
}

bool SpeechEngine::waitUntilIdle(std::chrono::milliseconds stall) {
  Impl& s = *impl_;
  std::unique_lock lock(s.mutex_);
  const auto done = [&] { return (s.queue_.empty() && !s.busy_) || s.stopping_; };
  for (;;) {
    const std::uint64_t progress = s.progress_;
    if (s.idle_.wait_for(lock, stall, done)) return true;
    if (s.progress_ == progress) return false;
  }
}

const std::vector<VoiceMode>& SpeechEngine::voiceModes() const {
  impl_->waitUntilReady();
  return impl_->knownModes(true);
}

int SpeechEngine::sampleRate() const {
  impl_->waitUntilReady();
  return impl_->sampleRate_;
}

}  // namespace orvane
