// How the window shows its controls to a learner who follows the auto-scan with their eyes:
// every button has a dark boundary against the yellow ground, and the focused button or list a
// thick ring drawn inside its own rectangle, so nothing moves when the focus does.
#pragma once

#include <QColor>
#include <QString>

namespace orvane::qt {

inline const QColor kButtonFace{0xEF, 0xEF, 0xEF};
inline const QColor kButtonBoundary{0x00, 0x00, 0x00};
inline const QColor kFocusRing{0x00, 0x33, 0xCC};
// Thickness of the focus ring, in pixels.
inline constexpr int kFocusRingWidth = 4;

// The style sheet of the main window and of every box and dialog it owns; the main window's
// ring grows with the learner's zoom.
QString drillStyleSheet(int zoomPercent = 100);

}  // namespace orvane::qt
