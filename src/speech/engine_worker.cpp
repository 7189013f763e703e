#include "speech/engine_worker.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/text.hpp"
#include "speech/text_pieces.hpp"

namespace orvane {

namespace {
// The synthesisers keep global state: engines' workers take turns at them under this lock.
std::mutex g_synthesisOwner;

// Whether a text has something a voice says aloud: a letter or digit (any character beyond ASCII
// counts), not only blanks and signs.
bool hasWords(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || std::isalnum(b);
  });
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

// What an English voice is handed for a text: a caption of marks alone by their names.
std::string spokenForm(const std::string& text) {
  return marksOnly(text) ? markNames(text) : text;
}
}  // namespace

void SpeechEngine::Impl::run() {
  initialise();
  {
    std::lock_guard lock(mutex_);
    ready_ = true;
  }
  idle_.notify_all();
  // Detached: it holds its share of everything it uses, and the engine's end waits for it a
  // while only.
  std::thread([self = shared_from_this()] { self->listServerVoices(); }).detach();
  sink_ = options_.makeSink();
  sink_->setCancelled([this] { return stopped(); });
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
      if (queue_.empty() && !stopping_ && progress_ > 0) {
        // Nothing to say: ready the voices the next captions are likely to use.
        lock.unlock();
        prepareVoices();
        lock.lock();
      }
      while (queue_.empty() && !stopping_ && !expected_.texts.empty()) {
        lock.unlock();
        rehearseCaptions();
        lock.lock();
      }
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty() || !expected_.texts.empty(); });
      if (queue_.empty() && !stopping_) continue;
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

void SpeechEngine::Impl::prepareVoices() {
  // The voice now chosen has just spoken; the English voice may not have yet.
  const VoiceMode* mode = englishVoice();
  if (!mode || mode->source == kNoSource || !warmed_.insert(mode->identifier).second) return;
  std::lock_guard owner(g_synthesisOwner);
  VoiceSource& source = *sources_[mode->source];
  source.prepare(mode->identifier);
  // A first word, thrown away, brings in what the voice's first real utterance would otherwise
  // wait for: its data read from disk, its code paged in. An utterance handed over meanwhile
  // stops it.
  source.synthesise(mode->identifier, kDefaultSpeed, "Start.",
                    [this](const std::int16_t*, std::size_t) { return !somethingToSay(); });
}

bool SpeechEngine::Impl::somethingToSay() {
  std::lock_guard lock(mutex_);
  return !queue_.empty() || stopping_;
}

void SpeechEngine::Impl::rehearseCaptions() {
  Expected expected;
  {
    std::lock_guard lock(mutex_);
    expected = std::exchange(expected_, {});
  }
  if (expected.mode > static_cast<std::int32_t>(modes_.size())) return;  // a server's voice
  for (const std::string& text : expected.texts) {
    const VoiceMode* mode = modeFor(expected.mode, text);
    if (!mode || !mode->english() || text.empty() || text::hasNonAscii(text)) continue;
    const std::string key = CaptionCache::keyOf(mode->identifier, expected.rate, text);
    if (captions_.find(key) || tooLongToKeep_.contains(key)) continue;
    if (options_.onRehearsal) options_.onRehearsal(text);
    trimmer_.reset();
    if (converter_) converter_->reset();
    rehearsing_ = true;
    synthesiseCaption(*mode, expected.rate, text, key);
    rehearsing_ = false;
    if (somethingToSay()) return;  // cut short
  }
}

void SpeechEngine::Impl::synthesiseCaption(const VoiceMode& mode, std::int32_t rate,
                                           const std::string& text, const std::string& key) {
  captured_.clear();
  capturing_ = true;
  synthesise(mode, rate, spokenForm(text));
  capturing_ = false;
  // Kept only when made whole: neither cut off nor lost to the device.
  const bool whole = rehearsing_ ? !somethingToSay() : !stopped() && sink_->isOpen();
  if (whole && !captions_.store(key, std::move(captured_))) {
    if (tooLongToKeep_.size() >= 256) tooLongToKeep_.clear();
    tooLongToKeep_.insert(key);
  }
}

void SpeechEngine::Impl::initialise() {
  sources_ = makeVoiceSources(options_);
  {
    std::lock_guard owner(g_synthesisOwner);
    noVoiceData_ = !startSources();
  }
  reader_ = std::make_unique<JapaneseReader>(options_.mecabDictionary);
  noDictionary_ = !reader_->hasDictionary();
  const std::string accent = options_.accentDictionary.value_or(AccentDictionary::defaultFolder());
  if (!accent.empty()) accent_ = std::make_unique<AccentDictionary>(accent);
}

bool SpeechEngine::Impl::ensureSinkOpen() {
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

void SpeechEngine::Impl::speak(const Utterance& u) {
  if (u.text.empty()) return;
  const VoiceMode* mode = modeFor(u.mode, u.text);
  if (!mode) return;
  // Japanese handed to a voice of another language would be read as noise: the Japanese
  // voice takes it.
  if (!mode->japanese() && text::hasNonAscii(u.text)) {
    if (const VoiceMode* japanese = modeFor(0, u.text); japanese && japanese->japanese()) {
      mode = japanese;
    }
  }
  if (mode->english()) lastEnglishMode_ = numberOf(mode);
  if (u.besideScreenReader && !throughServer(*mode)) {
    if (const VoiceMode* server = serverVoiceLike(*mode)) return speakThroughServer(*server, u);
  }
  if (throughServer(*mode)) return speakThroughServer(*mode, u);
  if (!ensureSinkOpen()) return;
  firstSamplesPending_ = true;
  trimmer_.reset();
  if (converter_) converter_->reset();
  if (mode->japanese()) {
    const VoiceMode* english = englishVoice();
    std::vector<ReadingSegment> segments = reader_->read(u.text);
    const bool accented = accent_ && accent_->available();
    if (accented) markSegments(segments, accent_->phrases(u.text));
    for (const ReadingSegment& s : segments) {
      if (s.latin && english) {
        synthesise(*english, u.rate, s.text);
      } else if (accented && !s.latin) {
        synthesiseAccented(*mode, u.rate, s.text);
      } else {
        synthesise(*mode, u.rate, s.text);
      }
    }
  } else if (u.caption) {
    // A caption heard before plays from memory; one heard the first time is kept as it plays,
    // if it plays whole.
    const std::string key = CaptionCache::keyOf(mode->identifier, u.rate, u.text);
    if (const auto* sound = captions_.find(key)) {
      play(sound->data(), sound->size());
    } else {
      synthesiseCaption(*mode, u.rate, u.text, key);
    }
  } else {
    synthesise(*mode, u.rate, spokenForm(u.text));
  }
  if (!sink_->isOpen()) return;
  if (cut_) {
    sink_->flush();  // what the device still holds of the cut caption
  } else {
    sink_->endOfUtterance();
  }
}

void SpeechEngine::Impl::speakThroughServer(const VoiceMode& mode, const Utterance& u) {
  // The server's voice takes the text whole; a Japanese prompt as the reader reads it.
  std::string text;
  if (mode.japanese()) {
    for (const ReadingSegment& s : reader_->read(u.text)) text += s.text;
  } else {
    text = spokenForm(u.text);
  }
  if (options_.onSynthesis) options_.onSynthesis(mode.identifier, u.rate, text);
  const bool spoken = sources_[mode.source]->play(mode.identifier, u.rate, text, u.caption,
                                                  [this] { return !stopped(); });
  std::lock_guard lock(mutex_);
  soundError_ = spoken ? kNoError : kSoundDeviceFailed;
}

void SpeechEngine::Impl::synthesise(const VoiceMode& voice, std::int32_t rate,
                                    const std::string& text) {
  if (text.empty() || voice.source == kNoSource || (!rehearsing_ && !sink_->isOpen()) ||
      stopped()) {
    return;
  }
  std::vector<AccentPiece> pieces;
  // Piece by piece, so that the first sample of any text comes at once.
  for (std::string& piece : speakablePieces(text, kFirstPieceBytes, kPieceBytes)) {
    pieces.push_back({{}, std::move(piece)});
  }
  synthesisePieces(voice, rate, pieces);
}

void SpeechEngine::Impl::synthesiseAccented(const VoiceMode& voice, std::int32_t rate,
                                            const std::string& marked) {
  if (marked.empty() || voice.source == kNoSource || (!rehearsing_ && !sink_->isOpen()) ||
      stopped()) {
    return;
  }
  synthesisePieces(voice, rate, accentPieces(marked, kPieceBytes));
}

void SpeechEngine::Impl::synthesisePieces(const VoiceMode& voice, std::int32_t rate,
                                          const std::vector<AccentPiece>& pieces) {
  std::lock_guard owner(g_synthesisOwner);
  VoiceSource& source = *sources_[voice.source];
  const int sourceRate = source.sampleRate();
  const SampleSink sink = [this, sourceRate](const std::int16_t* samples, std::size_t count) {
    return deliver(samples, count, sourceRate);
  };
  delivered_ = 0;
  bool words = false;
  for (const AccentPiece& piece : pieces) {
    // A caption readied ahead gives way, between pieces too, to anything there is to say.
    if (stopped() || (rehearsing_ && somethingToSay())) return;
    if (options_.onSynthesis && !rehearsing_) {
      options_.onSynthesis(voice.identifier, rate, piece.kana);
    }
    // Accented speech is handed a little faster: its runs' boundaries cost the voice pauses.
    if (piece.ssml.empty() ||
        !source.synthesiseMarkup(voice.identifier, rate * kAccentRatePercent / 100, piece.ssml,
                                 sink)) {
      source.synthesise(voice.identifier, rate, piece.kana, sink);
    }
    words = words || hasWords(piece.kana);
    std::lock_guard lock(mutex_);
    ++progress_;  // a slow synthesis is progress too, never a stalled device
  }
  // A voice that makes no sound for words it was given is broken (a voice library that loads
  // but is not one): an error, as missing voice data is, never silence that looks like success.
  if (delivered_ == 0 && !stopped() && !(rehearsing_ && somethingToSay()) && words) {
    std::lock_guard lock(mutex_);
    silentVoice_ = true;
  }
}

bool SpeechEngine::Impl::deliver(const std::int16_t* samples, std::size_t count, int rate) {
  if (stopped()) return false;
  if (count == 0) return true;  // a synthesiser's last call
  delivered_ += count;
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
  if (capturing_) captured_.insert(captured_.end(), out->begin(), out->end());
  if (rehearsing_) return !somethingToSay();  // an utterance to speak ends the rehearsal
  return play(out->data(), out->size());
}

bool SpeechEngine::Impl::play(const std::int16_t* samples, std::size_t count) {
  // Small pieces, so that a cut-off or the engine's end is seen within a few milliseconds.
  const std::size_t piece = static_cast<std::size_t>(sampleRate_) / 100;
  for (std::size_t at = 0; at < count; at += piece) {
    if (stopped()) return false;
    try {
      sink_->write(samples + at, std::min(piece, count - at));
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

}  // namespace orvane
