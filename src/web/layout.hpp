// web/: the bridge between the core and the page: the platform and the speech the core talks to,
// carried out by the page's JavaScript, and the window model handed to the page as JSON. Built
// only for WebAssembly; stands on app/ as the Qt window does.
//
// Where each control of the main window stands and how it looks, as designed: the page lays the
// controls out from this, scaled to the screen, as the Qt window does from its own table.
#pragma once

#include <span>
#include <string_view>

#include "window/form.hpp"

namespace orvane::web {

struct Place {
  Control control;
  int left, top, width, height;
  int fontPx;
  bool bold;
  // How the page draws it beyond place and font (style classes): a button, or a label with its
  // ground, colour and how it grows.
  std::string_view look;
};

// Size of the client area the controls are laid out in.
inline constexpr int kClientWidth = 768;
inline constexpr int kClientHeight = 494;

// Every button in tab order, then the labels.
std::span<const Place> places();

}  // namespace orvane::web
