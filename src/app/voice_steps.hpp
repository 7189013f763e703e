// The voice selection that every English speaking point makes before it speaks.
#pragma once

#include "app/session.hpp"

namespace orvane {

// Selects the English voice and, while slow speech is on, the slowest rate of that voice.
inline void selectEnglishVoice(Session& s) {
  s.speech.setCurrentMode(s.voices.englishVoiceMode);
  if (s.voices.slowMode) s.speech.setSpeed(s.speech.minSpeed());
}

inline void selectJapaneseVoice(Session& s) {
  s.speech.setCurrentMode(s.voices.japaneseVoiceMode);
}

}  // namespace orvane
