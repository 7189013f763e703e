#include "app/switch_input.hpp"

namespace orvane {

namespace {

constexpr std::int64_t kDayMs = 86'400'000;

// Keys that act again on every repeat: held, they would queue the same speech over and over. A
// held Tab or arrow key still walks the focus.
bool actsOnRepeat(Key k) {
  return k == Key::Enter || k == Key::Space || k == Key::R || k == Key::W || k == Key::S ||
         k == Key::E;
}

bool withinGuard(const Session& s, std::int64_t now) {
  const std::int32_t guard = s.settings.values.switchGuardMs;
  if (guard <= 0 || !s.lastPressMs) return false;
  // The clock runs from midnight: a press just after it is measured across the wrap.
  const std::int64_t since = ((now - *s.lastPressMs) % kDayMs + kDayMs) % kDayMs;
  return since < guard;
}

}  // namespace

void notePress(Session& s) {
  s.scan = {};
}

bool acceptPress(Session& s, const KeyStroke& k) {
  if (k.repeat && actsOnRepeat(k.key)) return false;
  const std::int64_t now = s.platform.timeOfDayMs();
  if (withinGuard(s, now)) return false;
  s.lastPressMs = now;
  const bool wasPaused = s.scan.paused;
  notePress(s);
  return !wasPaused;
}

}  // namespace orvane
