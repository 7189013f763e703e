// web/: the bridge between the core and the page: the platform and the speech the core talks to,
// carried out by the page's JavaScript, and the window model handed to the page as JSON. Built
// only for WebAssembly; stands on app/ as the Qt window does.
//
// How the page draws each control of the main window, beyond the designed place and font
// (window/places.hpp) it lays them out from, scaled to the screen.
#pragma once

#include <string_view>
#include <vector>

#include "window/places.hpp"

namespace orvane::web {

// The page's style classes for a control: a button, or a label with its ground, colour and how it
// grows.
std::string_view lookOf(Control c);

// Every button in tab order, then the labels.
std::vector<Place> places();

}  // namespace orvane::web
