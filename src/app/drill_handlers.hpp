// The drill's handlers: Start (revealing the words, or checking the sentence), placing words and
// marks, Erase, Answer, Next and End. Each asks the drill, hands the step to the view and speaks
// what the step says.
#pragma once

#include "app/session.hpp"

namespace orvane {

// What speak_verdict says after the sentence of a check.
inline constexpr const char* kRightVerdict = "正解です。";
inline constexpr const char* kWrongVerdict = "違います。";

void pressStart(Session& s);
void placeWord(Session& s, Control sender);
void placeMark(Session& s, Control sender);
void eraseSentence(Session& s);
void showAnswer(Session& s);
void nextQuestion(Session& s);
void endDrill(Session& s);

}  // namespace orvane
