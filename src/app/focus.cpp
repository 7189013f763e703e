#include "app/focus.hpp"

#include "app/voice_steps.hpp"

namespace orvane {

bool speaksOnFocus(Control c) {
  return isButton(c) && c != Control::PlayBack;
}

void giveFocus(Session& s, Control c) {
  const auto old = s.form.active();
  if (old == c) return;
  s.form.setActive(c);
  s.platform.focusMoved(c);
  if (old == Control::PlayBack) hidePlayBackOnLeave(s);
  if (speaksOnFocus(c)) speakCaption(s, c);
}

void speakCaption(Session& s, Control sender) {
  // What is spoken is the button's caption, by definition: the one place that reads it.
  const std::string& caption = s.form.caption(sender);
  sayCaption(s, caption);
  s.lastSpoken = caption;
}

void expectVisibleCaptions(Session& s) {
  if (s.besideScreenReader) return;  // the screen reader says them
  std::vector<std::string> captions;
  for (std::size_t i = 1; i < kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    if (isButton(c) && speaksOnFocus(c) && s.form.visible(c)) captions.push_back(s.form.caption(c));
  }
  s.speech.expectCaptions(voiceMode(s, Voice::English), s.voices.rate, captions);
}

void hidePlayBackOnLeave(Session& s) {
  s.form.hide(Control::PlayBack);
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
