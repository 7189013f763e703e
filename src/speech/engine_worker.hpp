// The speech engine's worker: everything it touches, shared between the engine and the worker
// thread. The engine's own calls are in speech_engine.cpp; the worker's queue, synthesis and
// sample path in engine_worker.cpp; its voice catalogue (the sources, the built-in modes and a
// speech server's after them, which mode speaks a text) in engine_voices.cpp.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "reading/accent.hpp"
#include "reading/japanese_reading.hpp"
#include "speech/accent_speech.hpp"
#include "speech/caption_cache.hpp"
#include "speech/sample_path.hpp"
#include "speech/speech_engine.hpp"
#include "speech/voice_source.hpp"

namespace orvane {

// Everything the worker touches. The worker holds it too, so an engine that has to leave its
// worker behind (stuck in the audio library) frees nothing that the worker may still use.
class SpeechEngine::Impl : public std::enable_shared_from_this<SpeechEngine::Impl> {
 public:
  struct Utterance {
    std::string text;
    std::int32_t mode;
    std::int32_t rate;
    bool caption = false;  // a focus caption: the next one cuts it off
    bool besideScreenReader = false;
  };

  explicit Impl(EngineOptions options) : options_(std::move(options)) {}

  void run();
  // Blocks until the voice sources are set up and the voice modes numbered.
  void waitUntilReady();
  void initialise();
  void speak(const Utterance& u);
  bool ensureSinkOpen();
  void synthesise(const VoiceMode& voice, std::int32_t rate, const std::string& text);
  // Kana marked with their accent, spoken with it by a voice that follows it, else plainly.
  void synthesiseAccented(const VoiceMode& voice, std::int32_t rate, const std::string& marked);
  // Hands the pieces to the voice's source one by one: SSML where a piece has it.
  void synthesisePieces(const VoiceMode& voice, std::int32_t rate,
                        const std::vector<AccentPiece>& pieces);
  // Synthesises a caption, played or (rehearsing) only kept, and stores its sound in the cache
  // under `key` when it was made whole.
  void synthesiseCaption(const VoiceMode& mode, std::int32_t rate, const std::string& text,
                         const std::string& key);
  // Sets up every voice source and numbers their voices (worker thread).
  bool startSources();
  // Readies the English voice ahead of its first utterance (once).
  void prepareVoices();
  // An utterance waits, or the engine is going (mutex_ not held).
  bool somethingToSay();
  // Makes the sound of the captions expected next that the cache lacks, while nothing is to be
  // said; stops as soon as something is.
  void rehearseCaptions();
  // Lists the voices of sources that speak through a server (their own thread).
  void listServerVoices();
  // Waits, a while at most, for the server's voices to be listed (mutex_ held).
  void waitForListing(std::unique_lock<std::mutex>& lock);
  // Every voice mode when `all` (waiting for the server's), else those known now.
  const std::vector<VoiceMode>& knownModes(bool all);
  const VoiceMode* modeFor(std::int32_t mode, const std::string& text);
  std::int32_t numberOf(const VoiceMode* mode);
  bool throughServer(const VoiceMode& mode) const;
  void speakThroughServer(const VoiceMode& mode, const Utterance& u);
  // The English voice for Latin words in a Japanese prompt: the built-in one last used for
  // English.
  const VoiceMode* englishVoice();
  // A voice of the speech server in the language of `mode`, so that the program's speech
  // queues with a screen reader's instead of talking over it; null when the server has none.
  const VoiceMode* serverVoiceLike(const VoiceMode& mode);
  // Every synthesiser's samples, at its own rate, go to the sink through here. False stops
  // the synthesis: the engine is going, the caption was cut off, or the device failed.
  bool deliver(const std::int16_t* samples, std::size_t count, int rate);
  // Plays samples ready for the sink, in small pieces; false when stopped or the device failed.
  bool play(const std::int16_t* samples, std::size_t count);
  bool stopped() const { return abort_ || cut_; }

  // The pieces a long text is handed to a synthesiser in (text_pieces.hpp): the first short,
  // so that it is heard at once, the rest at most kPieceBytes.
  static constexpr std::size_t kFirstPieceBytes = 16;
  static constexpr std::size_t kPieceBytes = 192;
  // The source of a voice mode that has none: it says nothing.
  static constexpr std::size_t kNoSource = static_cast<std::size_t>(-1);
  // How long anything waits for a server's voices to be listed before doing without them.
  static constexpr std::chrono::seconds kListingWait{5};

  EngineOptions options_;
  std::vector<std::unique_ptr<VoiceSource>> sources_;
  std::vector<VoiceMode> modes_;     // the built-in voices', fixed once the worker is ready
  std::vector<VoiceMode> allModes_;  // with a server's voices after them: made once, if ever
  bool listed_ = false;              // under mutex_
  bool listerDone_ = false;          // under mutex_: the server's voices are listed
  bool serverWanted_ = false;        // under mutex_: start a server when none runs
  std::chrono::steady_clock::time_point serverWantedAt_;  // under mutex_
  bool serverVoicesFound_ = false;                        // under mutex_
  int sampleRate_ = 22050;
  std::unique_ptr<JapaneseReader> reader_;
  std::unique_ptr<AccentDictionary> accent_;  // null or not available: no accent
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
  bool noVoiceData_ = false;
  bool silentVoice_ = false;   // a voice made no sound for words it was given
  std::size_t delivered_ = 0;  // samples the synthesis under way has made (worker only)
  bool noDictionary_ = false;
  ErrorCode soundError_ = kNoError;
  bool firstSamplesPending_ = false;
  std::atomic<bool> abort_{false};  // the engine is going: stop the utterance being spoken
  std::atomic<bool> cut_{false};    // a newer focus caption: stop the caption being spoken
  bool speakingCaption_ = false;    // under mutex_
  std::int32_t lastEnglishMode_ = 0;
  std::set<std::string> warmed_;  // voices readied ahead (worker thread only)
  // The sample path of the utterance being spoken (worker thread only).
  LeadingSilenceTrimmer trimmer_{22050};
  int trimmerRate_ = 22050;
  std::unique_ptr<RateConverter> converter_;
  int converterRate_ = 0;
  std::vector<std::int16_t> trimmed_, converted_;
  // Captions lately spoken, about twenty seconds of sound in all (under a megabyte), and the one
  // being kept.
  CaptionCache captions_{20 * 22050};
  // Captions found too long for the cache: never readied again (only the latest few hundred).
  std::unordered_set<std::string> tooLongToKeep_;
  std::vector<std::int16_t> captured_;
  bool capturing_ = false;
  bool rehearsing_ = false;  // samples are kept, not played
  struct Expected {
    std::int32_t mode = 0;
    std::int32_t rate = 0;
    std::vector<std::string> texts;
  };
  Expected expected_;  // under mutex_; taken by the worker
};

}  // namespace orvane
