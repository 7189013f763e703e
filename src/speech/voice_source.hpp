// One synthesiser library behind the speech engine. The engine lists the voices of every source
// as voice modes and hands each text to the source of its voice, always on its worker thread and
// never two sources at a time (the libraries keep global state). Adding a voice source is one
// implementation of this interface and one line in makeVoiceSources().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "speech/voice_catalog.hpp"

namespace orvane {

// Receives samples as they are made; false stops the synthesis (the engine is going, a caption
// was cut off, or the device failed).
using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count)>;

class VoiceSource {
 public:
  virtual ~VoiceSource() = default;
  // Sets the library up; false when it cannot speak (its voice data is missing).
  virtual bool start() = 0;
  // Its voices, once started.
  virtual std::vector<EngineVoice> voices() = 0;
  // The rate of the samples it makes.
  virtual int sampleRate() const = 0;
  // Readies the voice `identifier` ahead of its first utterance (loads what it needs), so that
  // its first word is heard as soon as later ones; the engine calls it when it has nothing to
  // say.
  virtual void prepare(const std::string& /*identifier*/) {}
  // Speaks `text` with the voice `identifier` at `wordsPerMinute` (eSpeak NG's units, so one
  // speed means the same pace on every voice).
  virtual void synthesise(const std::string& identifier, std::int32_t wordsPerMinute,
                          const std::string& text, const SampleSink& sink) = 0;

  // Speaks SSML made by the program itself (accent_speech.hpp), for voices that follow it;
  // false, having said nothing, for a source that does not take SSML.
  virtual bool synthesiseMarkup(const std::string& /*identifier*/, std::int32_t /*wordsPerMinute*/,
                                const std::string& /*ssml*/, const SampleSink& /*sink*/) {
    return false;
  }

  // A source whose server plays its voices itself (speech-dispatcher): its voices are numbered
  // after every other source's, its texts go to play() whole, and no samples reach the sink.
  virtual bool speaksThroughServer() const { return false; }
  // The server's voices are wanted (speech.ini names one, the voice dialog is open): the next
  // start() starts a server when none runs, as the server's own clients do.
  virtual void allowServerStart() {}
  // Speaks `text` through the server and returns once it has been spoken, or cancels it as
  // soon as `stillWanted` says false (a newer caption, the engine going). A focus caption is
  // `caption`. False when the server is missing or stopped answering.
  virtual bool play(const std::string& /*identifier*/, std::int32_t /*wordsPerMinute*/,
                    const std::string& /*text*/, bool /*caption*/,
                    const std::function<bool()>& /*stillWanted*/) {
    return false;
  }
};

struct EngineOptions;

// Every voice source, in the order their voices are numbered before the catalogue orders them.
// The first one's sample rate is the sink's.
std::vector<std::unique_ptr<VoiceSource>> makeVoiceSources(const EngineOptions& options);

}  // namespace orvane
