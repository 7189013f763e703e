// The window model as the page reads it: once its layout (places, looks, the menu tree), then
// after every event its state (captions, visible, enabled, checked, the focus, the scan timer,
// the voice dialog's lists, whether the program has ended).
#pragma once

#include <string>

#include "app/session.hpp"

namespace orvane::web {

// A caption is handed over up to this many bytes, cut between characters: the page clips it at
// the control's edge long before, as the Qt window does.
inline constexpr std::size_t kMaxShownBytes = 8000;

std::string layoutJson(const Form& form);
std::string stateJson(const Session& s, bool finished);

}  // namespace orvane::web
