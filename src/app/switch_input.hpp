// A learner's presses as a switch user makes them: one press is one action, however long the
// switch is held; presses that bounce within the learner's guard time count once; and a press
// while the scan has paused only wakes it.
#pragma once

#include "app/session.hpp"

namespace orvane {

// Whether the learner's key press `k` is acted on. Updates the guard's clock and the scan's
// count of steps without a press.
bool acceptPress(Session& s, const KeyStroke& k);
// A click is a press too: the scan wakes and counts its rounds again (a click is never guarded).
void notePress(Session& s);

}  // namespace orvane
