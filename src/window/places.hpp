// Where each control and menu item of the main window stands as designed: the place, size and font
// of every control in the client area, and the menu each item stands in. Every view lays the
// window out from this one table (the Qt window at the learner's zoom, the page scaled to the
// screen).
#pragma once

#include <span>

#include "window/form.hpp"

namespace orvane {

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

// The buttons in tab order, then the labels.
std::span<const Place> buttonPlaces();
std::span<const Place> labelPlaces();
const Place* placeOf(Control c);
std::span<const MenuPlace> menuPlaces();

}  // namespace orvane
