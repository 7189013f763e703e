#include "ui/focus.hpp"

#include "speech/voice_steps.hpp"

namespace orvane {

bool speaksOnFocus(Control c) {
  return isButton(c) && c != Control::Respeech;
}

void giveFocus(Session& s, Control c) {
  const auto old = s.form.active();
  if (old == c) return;
  s.form.setActive(c);
  s.platform.focusMoved(c);
  if (old == Control::Respeech) Respeech_exit(s);
  if (speaksOnFocus(c)) speak_cap(s, c);
}

void speak_cap(Session& s, Control sender) {
  selectEnglishVoice(s);
  s.speech.sayCaption(s.form.caption(sender));
  s.drill.LastSpoken = s.form.caption(sender);
}

void Respeech_exit(Session& s) {
  s.form.hide(Control::Respeech);
}

void tabStep(Session& s, bool forward) {
  const auto target = s.form.searchFocus(forward);
  if (!target || target == s.form.active()) return;
  giveFocus(s, *target);
}

void activateWindow(Session& s) {
  if (s.form.active()) return;
  tabStep(s, true);
}

}  // namespace orvane
