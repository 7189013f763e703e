// Speaking commands outside the drill flow: replay, spell-out, slow speech, the score, and the
// engine check before the first prompt.
#pragma once

#include "app/session.hpp"

namespace orvane {

void speakPrompt(Session& s);
void spellOutLastCaption(Session& s);
void toggleSlowSpeech(Session& s);
void speakScore(Session& s);
// Selects the Japanese voice, reports a non-zero LastError ("SAPI Error" and the number), then
// speaks the prompt label.
void checkEngineAndSpeakPrompt(Session& s);

// "S t a r t ": every character followed by one blank.
std::string spellOut(const std::string& caption);

}  // namespace orvane
