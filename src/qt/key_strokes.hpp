// Qt's key events as the program's key strokes, and the zoom keys the window keeps for itself.
#pragma once

#include <optional>

#include "app/session.hpp"

class QKeyEvent;

namespace orvane::qt {

// The key stroke a key press or release is to the drill; nothing for keys it does not use.
std::optional<KeyStroke> keyStrokeOf(const QKeyEvent* e);

enum class ZoomKey { In, Out, Reset };
// Ctrl++ (or Ctrl+=, the same key unshifted), Ctrl+- and Ctrl+0.
std::optional<ZoomKey> zoomKeyOf(const QKeyEvent* e);

}  // namespace orvane::qt
