// Speaking commands outside the drill flow: replay, spell-out, slow speech, the score, and the
// engine check before the first prompt.
#pragma once

#include "app/session.hpp"

namespace orvane {

void speak_toi(Session& s);
void N6Click(Session& s);
void N8Click(Session& s);
void N11Click(Session& s);
// Selects the Japanese voice, reports a non-zero LastError ("SAPI Error" and the number), then
// speaks the prompt label.
void checkEngineAndSpeakPrompt(Session& s);

// "S t a r t ": every character followed by one blank.
std::string spellOut(const std::string& caption);

}  // namespace orvane
