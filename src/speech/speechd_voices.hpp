// The voices the user already has: every voice of speech-dispatcher's output modules (the server
// Orca speaks through), by libspeechd. The server plays them itself, so Orvane's speech and a
// screen reader's take turns instead of playing over each other. Listed after all the built-in
// voices, from a running server; once the voices are wanted (allowServerStart) a server is
// started if none runs, by the same `speech-dispatcher --spawn` libspeechd's autospawn runs, and
// the connection is kept for the run. A module's voice variants are left out (eSpeak NG alone would
// add thirteen thousand).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "speech/ssip_listing.hpp"
#include "speech/voice_source.hpp"

namespace orvane {

class SpeechdVoices : public VoiceSource {
 public:
  SpeechdVoices() = default;
  ~SpeechdVoices() override;
  SpeechdVoices(const SpeechdVoices&) = delete;
  SpeechdVoices& operator=(const SpeechdVoices&) = delete;

  // Connects to a running server (or, once allowed, starts one) and lists its voices; false
  // when there is none.
  bool start() override;
  void allowServerStart() override { serverStartAllowed_ = true; }
  std::vector<EngineVoice> voices() override { return voices_; }
  int sampleRate() const override { return 0; }
  bool speaksThroughServer() const override { return true; }
  void synthesise(const std::string&, std::int32_t, const std::string&,
                  const SampleSink&) override {}
  bool play(const std::string& identifier, std::int32_t wordsPerMinute, const std::string& text,
            bool caption, const std::function<bool()>& stillWanted) override;

  // The server's rate (-100 to 100) for a pace in words a minute, on the scale its eSpeak NG
  // module uses: 80 at -100, 170 at 0, 449 at 100.
  static int serverRate(std::int32_t wordsPerMinute);

 private:
  struct Registry;
  // `spawn`: start a server (`speech-dispatcher --spawn`) when none listens.
  bool connect(bool spawn = false);
  std::vector<ssip::ServerVoice> listThroughLibrary();
  void disconnect();
  bool serverGone() const;
  // Sends the settings that differ from those in force.
  bool use(const std::string& module, const std::string& voice, int rate);

  void* connection_ = nullptr;  // libspeechd's SPDConnection
  bool serverStartAllowed_ = false;
  std::size_t clientId_ = 0;
  std::vector<EngineVoice> voices_;
  std::string module_, voice_;
  int rate_ = 1000;  // none sent yet

  // The messages lately ended or cancelled, as the server reports them on its connection's
  // thread.
  std::mutex mutex_;
  std::condition_variable ended_;
  std::deque<std::size_t> endedIds_;
};

}  // namespace orvane
