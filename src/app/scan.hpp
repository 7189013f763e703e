// The auto-scan: a timer whose ticks post Tab key strokes to the main window.
#pragma once

#include "app/session.hpp"

namespace orvane {

inline constexpr const char* kScanPausedMessage = "スキャンを止めました。";

// Switches the scan on or off, as the check mark of its menu item says.
void toggleAutoScan(Session& s);
// One tick: posts a Tab key-down and key-up, handled after the current handler. After the rounds
// settings.ini allows without a press, the scan pauses instead and says so; a press wakes it.
void scanTick(Session& s);
// settings.ini's scan_waits_for_speech: while the program speaks, the scan's count stands, and it
// starts again from zero when the speech ends, so that every caption is heard whole.
bool scanHeldBySpeech(Session& s);

}  // namespace orvane
