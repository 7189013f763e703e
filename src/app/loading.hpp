// Loading questions: one record into the drill state and the word buttons, and the two places
// that start a drill from a file (start-up and File > Open).
#pragma once

#include "app/session.hpp"

namespace orvane {

// Reads the nine lines after a marker line and sets the question up.
void readQuestion(Session& s);
// Puts the word slots on Button2..Button8; empty slots hide their button.
void fillWordButtons(Session& s);
// The start-up load of toi.dat. Throws on failure (the caller reports it and ends the program).
// Returns false when there is no toi.dat.
bool loadStartFile(Session& s);
// File > Open.
void openQuestionFile(Session& s);

}  // namespace orvane
