#include "app/dispatcher.hpp"

#include "app/focus.hpp"
#include "app/learner_settings.hpp"
#include "app/menu_commands.hpp"
#include "app/scan.hpp"
#include "app/speaking_commands.hpp"
#include "app/startup.hpp"
#include "app/switch_input.hpp"
#include "app/voice_settings.hpp"
#include "core/text.hpp"

namespace orvane {

template <class F>
void Dispatcher::run(F&& handler) {
  // A modal box opened by a handler runs a nested loop; events that reach us from there (a
  // timer tick behind a message box) are dropped rather than run inside the handler.
  if (busy_ || s_.quitRequested) return;
  busy_ = true;
  auto guarded = [&](auto&& body) {
    try {
      body();
    } catch (const std::exception& e) {
      s_.platform.errorBox(text::errorReportText(e.what()));
      s_.activationPending = true;
    }
  };
  guarded(handler);
  while (!s_.quitRequested) {
    if (s_.activationPending) {
      s_.activationPending = false;
      if (!s_.dialog.open) guarded([&] { activateWindow(s_); });
      continue;
    }
    if (s_.postedKeys.empty()) break;
    const KeyStroke k = s_.postedKeys.front();
    s_.postedKeys.pop_front();
    guarded([&] { handleKey(k); });
  }
  if (s_.quitRequested) {
    s_.postedKeys.clear();
  } else {
    guarded([&] { expectVisibleCaptions(s_); });
  }
  busy_ = false;
}

bool Dispatcher::mainWindowTakesInput() const {
  return !s_.dialog.open;
}

void Dispatcher::startUp() {
  run([&] {
    startUpForm(s_);
    // The window is shown and activated; a start-up that asked to end never gets that far.
    s_.activationPending = true;
  });
}

void Dispatcher::click(Control c) {
  if (!mainWindowTakesInput()) return;
  run([&] {
    if (!isButton(c) || !s_.form.visible(c) || !s_.form.control(c).enabled) return;
    notePress(s_);
    giveFocus(s_, c);
    runClick(s_, c);
  });
}

void Dispatcher::key(const KeyStroke& k) {
  if (!mainWindowTakesInput()) return;
  run([&] {
    if (k.down && !acceptPress(s_, k)) return;
    handleKey(k);
  });
}

void Dispatcher::menu(Menu m) {
  if (!mainWindowTakesInput()) return;
  run([&] {
    if (s_.form.menu(m).enabled) runMenu(s_, m);
  });
}

void Dispatcher::tick() {
  // Tab strokes posted while the voice dialog is open would move the focus behind it, unseen:
  // the scan waits instead.
  if (!s_.form.timer().enabled() || s_.dialog.open) return;
  run([&] {
    if (scanHeldBySpeech(s_)) return s_.form.timer().restartCount();
    scanTick(s_);
  });
}

void Dispatcher::holdScanWhileSpeaking() {
  if (s_.form.timer().enabled() && scanHeldBySpeech(s_)) s_.form.timer().restartCount();
}

void Dispatcher::setZoom(std::int32_t percent) {
  if (!mainWindowTakesInput()) return;
  run([&] { setLearnerZoom(s_, percent); });
}

void Dispatcher::activate() {
  if (!mainWindowTakesInput()) return;
  run([&] { activateWindow(s_); });
}

void Dispatcher::dialogSelect(int list, int pos) {
  if (!s_.dialog.open) return;
  run([&] { selectVoiceItem(s_, list, pos); });
}

void Dispatcher::dialogOk() {
  if (!s_.dialog.open) return;
  run([&] { acceptVoiceDialog(s_); });
}

void Dispatcher::dialogCancel() {
  if (!s_.dialog.open) return;
  run([&] { cancelVoiceDialog(s_); });
}

bool Dispatcher::dialogRefresh() {
  if (!s_.dialog.open || !s_.dialog.loading) return false;
  bool refreshed = false;
  run([&] { refreshed = refreshVoiceDialog(s_); });
  return refreshed;
}

void Dispatcher::handleKey(const KeyStroke& k) {
  if (!k.down) return;  // the key-up of a step does nothing
  const Modifiers m = k.posted ? s_.platform.heldModifiers() : k.modifiers;
  Form& f = s_.form;
  switch (k.key) {
    case Key::Tab:
      if (m.alt || m.ctrl) return;
      return tabStep(s_, !m.shift);
    case Key::Left:
    case Key::Right:
    case Key::Up:
    case Key::Down:
      if (m.alt || !f.active()) return;
      return tabStep(s_, k.key == Key::Right || k.key == Key::Down);
    case Key::Enter:
    case Key::Space:
      if (m.alt || !f.active()) return;
      return runClick(s_, *f.active());
    case Key::R:
    case Key::W:
    case Key::S: {
      if (!m.ctrl || m.alt) return;
      const Menu item = k.key == Key::R   ? Menu::Replay
                        : k.key == Key::W ? Menu::SpellOut
                                          : Menu::SlowSpeech;
      if (f.menu(item).enabled) runMenu(s_, item);
      return;
    }
    case Key::E:
      if (!m.ctrl || m.alt) return;
      return speakSentenceSoFar(s_);
  }
}

}  // namespace orvane
