// The drill's handlers: revealing and placing words, checking, Erase, Answer, Next and End.
#pragma once

#include <string>

#include "app/session.hpp"

namespace orvane {

void StartClick(Session& s);
void show2_cap(Session& s, Control sender);
void show_period(Session& s, Control sender);
void EraseClick(Session& s);
void AnswerClick(Session& s);
void NextClick(Session& s);
void End_click(Session& s);

// "3/4 75%": right answers, questions asked and the percentage, cut to a whole number.
std::string scoreText(std::int32_t correct, std::int32_t asked);

}  // namespace orvane
