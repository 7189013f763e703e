// Speaking commands outside the drill flow: replay, spell-out, slow speech, the score, and the
// engine check before the first prompt.
#pragma once

#include "app/session.hpp"

namespace orvane {

// The prompt, then how many words are still to place ("単語数は3です。"; empty when none are).
void speakPrompt(Session& s);
void spellOutLastCaption(Session& s);
void toggleSlowSpeech(Session& s);
// The sentence built so far, with the English voice, as a check would speak it; nothing before
// the first word.
void speakSentenceSoFar(Session& s);
// The score as the score label shows it.
void speakScore(Session& s);
// Reports a non-zero last error of the speech ("SAPI Error" and the number): start-up asks before
// the first prompt is spoken.
void reportEngineError(Session& s);

// "S t a r t ": every character followed by one blank.
std::string spellOut(const std::string& caption);

}  // namespace orvane
