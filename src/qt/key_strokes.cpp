#include "qt/key_strokes.hpp"

#include <QKeyEvent>

namespace orvane::qt {

namespace {
std::optional<Key> keyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Space:
      return Key::Space;
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Down:
      return Key::Down;
    case Qt::Key_E:
      return Key::E;
    default:
      return std::nullopt;
  }
}
}  // namespace

std::optional<KeyStroke> keyStrokeOf(const QKeyEvent* e) {
  const auto key = keyOf(e->key());
  if (!key) return std::nullopt;
  const Qt::KeyboardModifiers m = e->modifiers();
  KeyStroke k{*key, {}, e->type() == QEvent::KeyPress, false, e->isAutoRepeat()};
  k.modifiers = {m.testFlag(Qt::ShiftModifier) || e->key() == Qt::Key_Backtab,
                 m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
  return k;
}

std::optional<ZoomKey> zoomKeyOf(const QKeyEvent* e) {
  if (e->type() != QEvent::KeyPress || !e->modifiers().testFlag(Qt::ControlModifier) ||
      e->modifiers().testFlag(Qt::AltModifier)) {
    return std::nullopt;
  }
  switch (e->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return ZoomKey::In;
    case Qt::Key_Minus:
      return ZoomKey::Out;
    case Qt::Key_0:
      return ZoomKey::Reset;
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::qt
