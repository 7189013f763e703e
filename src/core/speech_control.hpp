// core/: the ground floor every room stands on: errors, the speech interface the program talks
// to, safe file reading and small text rules. It includes nothing of the program's own.
//
// The speech adapter: exactly the properties and operations the program relies on. Failures are
// thrown as Error, whose text is what the error box shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

class SpeechControl {
 public:
  virtual ~SpeechControl() = default;

  // Voice mode (1-based) of the following utterances. Numbers that name no mode are accepted.
  virtual void setCurrentMode(std::int32_t mode) = 0;
  virtual std::int32_t speed() = 0;
  virtual void setSpeed(std::int32_t speed) = 0;
  virtual std::int32_t minSpeed() = 0;
  virtual std::int32_t lastError() = 0;
  virtual std::int32_t voiceModeCount() = 0;
  // Queues `text` (UTF-8) with the current mode and speed; never waits for the speech.
  virtual void sayText(const std::string& text) = 0;
  // The same for a caption spoken because a button took the focus. A voice may cut it off when
  // the next caption comes, as a screen reader does; every other text is spoken whole, in order.
  virtual void sayCaption(const std::string& text) { sayText(text); }
  // The captions that may be spoken next (those of the buttons on show) and the voice mode they
  // would be spoken in: a voice may ready their sound ahead, so that the key that moves the
  // focus is answered at once. Says nothing.
  virtual void expectCaptions(std::int32_t /*mode*/, const std::vector<std::string>& /*texts*/) {}
  virtual std::string voiceModeTitle(std::int32_t mode) = 0;
  virtual std::int32_t voiceModeLanguage(std::int32_t mode) = 0;
};

}  // namespace orvane
