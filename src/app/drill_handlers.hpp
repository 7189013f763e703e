// The drill's handlers: revealing and placing words, checking, Erase, Answer, Next and End.
#pragma once

#include <string>

#include "app/session.hpp"

namespace orvane {

void pressStart(Session& s);
void placeWord(Session& s, Control sender);
void placeMark(Session& s, Control sender);
void eraseSentence(Session& s);
void showAnswer(Session& s);
void nextQuestion(Session& s);
void endDrill(Session& s);

// "3/4 75%": right answers, questions asked and the percentage, cut to a whole number.
std::string scoreText(std::int32_t correct, std::int32_t asked);

}  // namespace orvane
