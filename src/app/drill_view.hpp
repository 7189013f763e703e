// The one place the drill meets the window. After each drill operation its step comes here, and
// showStep() puts what the drill now holds onto the window model: which controls show, their
// captions, the menu items, the scan's pace and where the focus goes. The habits of the screen
// that scripts and transcripts rely on are the named rules in drill_view.cpp.
#pragma once

#include <optional>

#include "app/session.hpp"

namespace orvane {

void showStep(Session& s, const DrillStep& step);
// Start-up's load of toi.dat: the screen of a file opened from the menu, but the focus and the
// scan's pace are left as the window starts (its first activation gives the focus).
void showStartFile(Session& s, const DrillStep& step);

// Start and Speak are one button: it reveals the words of a question just shown, and checks the
// sentence otherwise.
bool startRevealsWords(const Drill& d);
// The closing mark a mark button places; none for another control.
std::optional<char> markOf(Control c);

}  // namespace orvane
