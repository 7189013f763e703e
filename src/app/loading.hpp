// The two places a drill starts from a file: toi.dat at start-up, and File > Open.
#pragma once

#include <optional>

#include "app/session.hpp"

namespace orvane {

// Loads toi.dat, or the file the program was started with, and shows it; nothing when there is
// no toi.dat. A missing or unreadable named file is said in a box, and nothing is shown. Throws
// when toi.dat cannot be read (the caller reports it and ends the program). The step's prompt is
// spoken by the caller, after the speech engine has been checked.
std::optional<DrillStep> loadStartFile(Session& s);
// File > Open: a file that cannot be read ends the program with a message.
void openQuestionFile(Session& s);

}  // namespace orvane
