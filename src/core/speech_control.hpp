// core/: the ground floor every room stands on: errors, the speech interface the program talks
// to, safe file reading and replacing, and small text rules. It includes nothing of the
// program's own.
//
// The speech interface: the voice modes, the rates and the last error, and utterances, each
// handed over with the voice and rate it is to be spoken with, as a screen reader's speech
// server takes them. Failures are thrown as Error, whose text is what the error box shows.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct Utterance {
  // UTF-8, lent for the call: the speech copies what it keeps, so a prompt of any length is
  // never copied whole on its way to the voice.
  std::string_view text;
  // Voice mode (1-based). Numbers that name no mode are accepted: the text's own language then
  // picks a voice.
  std::int32_t mode = 0;
  // Words a minute.
  std::int32_t rate = 0;
  // A caption spoken because a button took the focus: the next such caption may cut it off, as
  // a screen reader's does. Every other utterance is spoken whole, in order.
  bool cutByNextCaption = false;
  // A screen reader is running: the utterance queues with the screen reader's own speech server
  // (in a voice of its language there) instead of talking over it. Without such a voice it is
  // spoken as usual.
  bool besideScreenReader = false;
};

class SpeechControl {
 public:
  virtual ~SpeechControl() = default;

  // The rate speech starts at, and the slowest rate (slow speech).
  virtual std::int32_t defaultRate() = 0;
  virtual std::int32_t minRate() = 0;
  virtual std::int32_t lastError() = 0;
  virtual std::int32_t voiceModeCount() = 0;
  virtual std::string voiceModeTitle(std::int32_t mode) = 0;
  virtual std::int32_t voiceModeLanguage(std::int32_t mode) = 0;
  // Queues the utterance; never waits for the speech.
  virtual void speak(const Utterance& u) = 0;
  // The captions that may be spoken next (those of the buttons on show), with the voice mode and
  // rate they would be spoken in: a voice may ready their sound ahead, so that the key that moves
  // the focus is answered at once. Says nothing.
  // True while something handed over is still being spoken or waits to be: the scan may wait
  // for it. A voice that cannot tell says false.
  virtual bool speaking() { return false; }
  // The voices of a speech server are wanted (speech.ini names one, the voice dialog opens): a
  // voice that can start its server does so when none runs. voiceModeCount() then waits for
  // them a while.
  virtual void wantServerVoices() {}
  // True while the server's voices are wanted and still being listed: voiceModeCount() would
  // wait for them, the built-in modes' titles and languages do not.
  virtual bool serverVoicesPending() { return false; }
  // The modes that need no server: a number above it names a server's voice. A voice with no
  // server behind it has every mode built in.
  virtual std::int32_t builtInVoiceModeCount() { return std::numeric_limits<std::int32_t>::max(); }
  virtual void expectCaptions(std::int32_t /*mode*/, std::int32_t /*rate*/,
                              const std::vector<std::string>& /*texts*/) {}
};

}  // namespace orvane
