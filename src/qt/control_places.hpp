// The designed places at the learner's zoom, and how a label shows its caption.
#pragma once

#include <QColor>
#include <span>
#include <string>
#include <string_view>

#include "window/places.hpp"

class QLabel;
class QWidget;

namespace orvane::qt {

// A length of the design at `percent` zoom.
inline int zoomed(int designed, int percent) {
  return designed * percent / 100;
}

// The part of a caption that can be shown, cut between characters: a label or button is clipped
// at its edge long before, and laying out megabytes of text would stall the window.
std::string_view shownPart(const std::string& caption);
// Shows a caption on a label, blanks and tabs as they stand.
void showOnLabel(QLabel* label, std::string_view caption);
void setBackground(QWidget* w, const QColor& colour);

}  // namespace orvane::qt
