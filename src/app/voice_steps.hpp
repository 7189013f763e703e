// How every speaking point of the program speaks: with the learner's voice for the text's
// language and the rate in force (the slowest while slow speech is on).
#pragma once

#include <string_view>

#include "app/session.hpp"

namespace orvane {

// The learner's voice is chosen by the language of what is said.
using Voice = Language;

inline std::int32_t voiceMode(const Session& s, Voice v) {
  return v == Voice::Japanese ? s.voices.japaneseVoiceMode : s.voices.englishVoiceMode;
}

inline void say(Session& s, Voice v, std::string_view text) {
  s.speech.speak({text, voiceMode(s, v), s.voices.rate, false, s.besideScreenReader});
}

// What a drill step says, in order.
inline void sayStep(Session& s, const DrillStep& step) {
  for (const ToSay& t : step.toSay) say(s, t.language, t.text);
}

// A focus caption: the next one may cut it off. Beside a screen reader, which reads the focused
// button's name itself, it is left to the screen reader.
inline void sayCaption(Session& s, std::string_view text) {
  if (s.besideScreenReader) return;
  s.speech.speak({text, voiceMode(s, Voice::English), s.voices.rate, true, false});
}

}  // namespace orvane
