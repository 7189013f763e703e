// speech/: the real voice: the engine, its voice sources and the sound device. Stands on
// reading/ (the kana of Japanese prompts) and core/.
//
// The speech engine: one worker thread, one bounded queue, one sink, the trimming of leading
// silence and the cut-off of focus captions, and the catalogue of voice modes. It knows the
// synthesisers only as voice sources (voice_source.hpp): Flite speaks English, eSpeak NG Japanese
// and the other languages, and MeCab gives Japanese prompts their kana readings first.
// Utterances go into the queue, each with the voice and rate in force when it was handed over;
// the worker makes every synthesiser call, so no handler waits for speech.
//
// lastError(), as start-up reports it ("SAPI Error" and the number):
//   0  all well
//   1  no sound device could be opened (the drill goes on silently; it is tried again with every
//      utterance, and speech resumes when a device is there)
//   2  the sound device failed while playing, or the speech server of a speech-dispatcher voice
//      went away (likewise tried again)
//   3  eSpeak NG could not start: its voice data is missing (Japanese and the other languages are
//      silent; Flite's English voices speak all the same)
//   4  the MeCab dictionary is missing: kanji in prompts are left unread
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/speech_control.hpp"
#include "speech/audio_sink.hpp"
#include "speech/voice_catalog.hpp"

namespace orvane {

struct EngineOptions {
  // eSpeak NG's data folder; empty for its own default.
  std::string espeakData;
  std::string mecabDictionary = "/var/lib/mecab/dic/ipadic-utf8";
  // The accent dictionary's folder (accent.hpp): nothing for the one beside the program or
  // installed, empty for none (the prompt is spoken without accent).
  std::optional<std::string> accentDictionary;
  // Makes the sink the worker plays into (the sound device unless a test says otherwise).
  std::function<std::unique_ptr<AudioSink>()> makeSink;
  // Called on the worker thread when the first samples of an utterance reach the sink.
  std::function<void()> onFirstSamples;
  // Called on the worker thread for every stretch of text handed to a synthesiser, with the
  // voice identifier and rate it is spoken with (tests and diagnostics).
  std::function<void(const std::string& voice, std::int32_t rate, const std::string& text)>
      onSynthesis;
  // Called on the worker thread for every caption it readies ahead (tests and diagnostics).
  std::function<void(const std::string& text)> onRehearsal;
};

class SpeechEngine : public SpeechControl {
 public:
  enum ErrorCode : std::int32_t {
    kNoError = 0,
    kNoSoundDevice = 1,
    kSoundDeviceFailed = 2,
    kNoVoiceData = 3,
    kNoDictionary = 4,
  };
  static constexpr std::int32_t kMinSpeed = 80;
  static constexpr std::int32_t kMaxSpeed = 450;
  static constexpr std::int32_t kDefaultSpeed = 175;
  // Longer texts are cut here: nothing a drill shows needs more, and a runaway line must not
  // keep the voice busy for hours. Texts are cut when handed over, so a huge prompt is never
  // copied into the queue.
  static constexpr std::size_t kMaxUtteranceBytes = 4000;
  // Utterances waiting at the most; beyond, the oldest give way.
  static constexpr std::size_t kMaxQueued = 64;
  // How long lastError() waits for the sound device's first answer before it calls the device
  // missing; a server that has stopped answering never answers at all.
  static constexpr std::chrono::milliseconds kDeviceAnswerWait{500};
  // How long the end of the engine waits for the worker. A worker held in the audio library by
  // a server that stopped answering is left behind, with everything it uses, so the program
  // still ends at once.
  static constexpr std::chrono::milliseconds kShutdownWait{1000};

  // Starts the worker, which sets up the voice sources and MeCab and then opens the sound device;
  // the constructor does not wait for either. The voice modes and lastError() wait until the
  // sources are set up; a device that never answers does not hold up the start.
  explicit SpeechEngine(EngineOptions options = {});
  // Drops what is still queued, stops the utterance being spoken and ends the worker.
  ~SpeechEngine() override;
  SpeechEngine(const SpeechEngine&) = delete;
  SpeechEngine& operator=(const SpeechEngine&) = delete;

  std::int32_t defaultRate() override { return kDefaultSpeed; }
  std::int32_t minRate() override { return kMinSpeed; }
  std::int32_t lastError() override;
  std::int32_t voiceModeCount() override;
  // Queues the utterance, its text cut to kMaxUtteranceBytes and its rate to the engine's range.
  // A focus caption cuts off an earlier caption still waiting or being spoken.
  void speak(const Utterance& u) override;
  // Readies the sound of these captions, when the worker has nothing to say, so that they play
  // from memory when their buttons take the focus.
  void expectCaptions(std::int32_t mode, std::int32_t rate,
                      const std::vector<std::string>& texts) override;
  std::string voiceModeTitle(std::int32_t mode) override;
  std::int32_t voiceModeLanguage(std::int32_t mode) override;
  void wantServerVoices() override;
  std::int32_t builtInVoiceModeCount() override;
  bool serverVoicesPending() override;

  bool speaking() override;
  // Blocks until every queued utterance has been spoken (tools and tests).
  void waitUntilIdle();
  // The same, giving up when no sound has reached the sink for `stall`: false then.
  bool waitUntilIdle(std::chrono::milliseconds stall);
  const std::vector<VoiceMode>& voiceModes() const;
  // Mode `mode` (1-based); throws when there is none.
  const VoiceMode& voiceMode(std::int32_t mode);
  int sampleRate() const;

  // The worker's side, shared with the worker thread (defined beside the engine's code).
  class Impl;

 private:
  std::shared_ptr<Impl> impl_;
  std::thread worker_;
};

}  // namespace orvane
