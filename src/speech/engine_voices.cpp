// The speech worker's voice catalogue: the voice sources, the built-in voice modes and a speech
// server's listed after them, and which mode speaks a text.
#include <algorithm>
#include <thread>

#include "core/text.hpp"
#include "speech/engine_worker.hpp"
#include "speech/espeak_voices.hpp"
#include "speech/flite_voices.hpp"
#include "speech/speechd_voices.hpp"

namespace orvane {

std::vector<std::unique_ptr<VoiceSource>> makeVoiceSources(const EngineOptions& options) {
  std::vector<std::unique_ptr<VoiceSource>> sources;
  sources.push_back(std::make_unique<EspeakVoices>(options.espeakData));
  sources.push_back(std::make_unique<FliteVoices>());
  sources.push_back(std::make_unique<SpeechdVoices>());
  return sources;
}

bool SpeechEngine::Impl::startSources() {
  std::vector<EngineVoice> voices;
  bool all = true, rateSet = false;
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    if (sources_[i]->speaksThroughServer()) continue;  // listed apart, after these
    // Each source starts on its own: one that cannot speak (eSpeak NG without its data) leaves
    // its voices out, and the others speak all the same.
    if (!sources_[i]->start()) {
      all = false;
      continue;
    }
    if (!rateSet) sampleRate_ = sources_[i]->sampleRate(), rateSet = true;
    for (EngineVoice v : sources_[i]->voices()) {
      v.source = i;
      voices.push_back(std::move(v));
    }
  }
  modes_ = orderVoiceModes(voices);
  // Mode 1 is the Japanese voice in every speech.ini: without one, a silent stand-in keeps the
  // numbers of the other voices.
  if (!modes_.empty() && !modes_.front().japanese()) {
    modes_.insert(modes_.begin(), VoiceMode{"Japanese (no voice data)", windowsLanguageId("ja"), "",
                                            "ja", false, kNoSource});
  }
  return all;
}

void SpeechEngine::Impl::listServerVoices() {
  // A server's list is made on a thread of its own while the drill starts (a server that does
  // not answer must not hold anything up), and its voices are numbered after every built-in
  // voice, so that a speech.ini keeps its meaning.
  for (;;) {
    bool spawn = false;
    {
      std::lock_guard lock(mutex_);
      spawn = serverWanted_;
    }
    std::vector<VoiceMode> server;
    for (std::size_t i = 0; i < sources_.size(); ++i) {
      if (!sources_[i]->speaksThroughServer()) continue;
      if (spawn) sources_[i]->allowServerStart();
      if (!sources_[i]->start()) continue;
      for (EngineVoice v : sources_[i]->voices()) {
        v.source = i;
        server.push_back(voiceModeOf(v));
      }
    }
    std::lock_guard lock(mutex_);
    // Wanted while this listing ran without starting a server: once more, starting one.
    if (server.empty() && serverWanted_ && !spawn) continue;
    // Made once at most, and only with a server's voices in it (until then, and after a
    // listing that took too long, the built-in modes stand for all): nobody can hold it while
    // it is made.
    if (!listed_ && !server.empty()) {
      allModes_ = modes_;
      allModes_.insert(allModes_.end(), server.begin(), server.end());
    }
    listed_ = true;
    serverVoicesFound_ = !server.empty();
    listerDone_ = true;
    idle_.notify_all();
    return;
  }
}

void SpeechEngine::Impl::waitForListing(std::unique_lock<std::mutex>& lock) {
  if (idle_.wait_for(lock, kListingWait, [this] { return listed_; })) return;
  // A server that does not answer: its voices are left out for good.
  listed_ = true;
}

const std::vector<VoiceMode>& SpeechEngine::Impl::knownModes(bool all) {
  std::unique_lock lock(mutex_);
  if (all) waitForListing(lock);
  return listed_ && !allModes_.empty() ? allModes_ : modes_;
}

const VoiceMode* SpeechEngine::Impl::modeFor(std::int32_t mode, const std::string& text) {
  const auto& modes = knownModes(mode > static_cast<std::int32_t>(modes_.size()));
  if (mode >= 1 && mode <= static_cast<std::int32_t>(modes.size())) {
    return &modes[static_cast<std::size_t>(mode - 1)];
  }
  // A voice number that names no mode (an old speech.ini): the text's own language, in a
  // built-in voice.
  const bool japanese = text::hasNonAscii(text);
  const auto it = std::find_if(modes_.begin(), modes_.end(), [&](const VoiceMode& m) {
    return japanese ? m.japanese() : m.language == "en-us";
  });
  return it != modes_.end() ? &*it : (modes_.empty() ? nullptr : &modes_.front());
}

std::int32_t SpeechEngine::Impl::numberOf(const VoiceMode* mode) {
  const auto& modes = knownModes(false);
  return mode >= modes.data() && mode < modes.data() + modes.size()
             ? static_cast<std::int32_t>(mode - modes.data()) + 1
             : 0;
}

bool SpeechEngine::Impl::throughServer(const VoiceMode& mode) const {
  return mode.source != kNoSource && sources_[mode.source]->speaksThroughServer();
}

const VoiceMode* SpeechEngine::Impl::serverVoiceLike(const VoiceMode& mode) {
  // Only the voices listed by now: the prompt never waits for a slow server.
  for (const VoiceMode& m : knownModes(false)) {
    if (throughServer(m) && (mode.japanese() ? m.japanese() : m.english() && mode.english())) {
      return &m;
    }
  }
  return nullptr;
}

const VoiceMode* SpeechEngine::Impl::englishVoice() {
  // Latin words in a prompt spoken by a built-in voice go to a built-in English voice, so that
  // the pieces of one prompt play through one device in order.
  if (lastEnglishMode_ >= 1 && lastEnglishMode_ <= static_cast<std::int32_t>(modes_.size())) {
    return &modes_[static_cast<std::size_t>(lastEnglishMode_ - 1)];
  }
  return modeFor(0, "a");
}

}  // namespace orvane
