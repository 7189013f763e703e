// Where each control and menu item of the window stands, at its designed size and at the learner's
// zoom, and how a label shows its caption.
#pragma once

#include <QColor>
#include <span>
#include <string>
#include <string_view>

#include "window/form.hpp"

class QLabel;
class QWidget;

namespace orvane::qt {

// Size of the client area the controls are laid out in (the window's outer size is 776 x 540).
inline constexpr int kClientWidth = 768;
inline constexpr int kClientHeight = 494;

struct Place {
  Control control;
  int left, top, width, height;
  int fontPx;
  bool bold;
};

// A menu item and the menu it stands in, in the order the menus list them.
struct MenuPlace {
  Menu menu;
  Menu parent;
};
std::span<const MenuPlace> menuPlaces();

std::span<const Place> buttonPlaces();
std::span<const Place> labelPlaces();
const Place* placeOf(Control c);

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
