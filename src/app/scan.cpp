#include "app/scan.hpp"

#include "app/voice_steps.hpp"

namespace orvane {

namespace {

// The buttons a round of the scan passes: those on show that take the focus.
std::int32_t buttonsInRound(const Form& f) {
  std::int32_t n = 0;
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    if (isButton(c) && f.visible(c)) ++n;
  }
  return n;
}

}  // namespace

void toggleAutoScan(Session& s) {
  MenuState& item = s.form.menu(Menu::AutoScan);
  s.scan = {};
  if (!item.checked) {
    s.form.timer().setEnabled(true);
    item.checked = true;
  } else {
    s.form.timer().setEnabled(false);
    item.checked = false;
  }
}

bool scanHeldBySpeech(Session& s) {
  return s.settings.values.scanWaitsForSpeech && s.speech.speaking();
}

void scanTick(Session& s) {
  if (s.scan.paused) return;
  if (const std::int32_t rounds = s.settings.values.scanRounds; rounds > 0) {
    // A learner who has not pressed through so many rounds is not following: the scan stops
    // rather than circling on, and says so.
    const std::int32_t perRound = buttonsInRound(s.form);
    if (perRound > 0 && s.scan.stepsWithoutPress >= rounds * perRound) {
      s.scan.paused = true;
      say(s, Voice::Japanese, kScanPausedMessage);
      return;
    }
    ++s.scan.stepsWithoutPress;
  }
  s.postedKeys.push_back({Key::Tab, {}, true, true});
  s.postedKeys.push_back({Key::Tab, {}, false, true});
}

}  // namespace orvane
