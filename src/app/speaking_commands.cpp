#include "app/speaking_commands.hpp"

#include "app/voice_steps.hpp"
#include "core/text.hpp"

namespace orvane {

std::string spellOut(const std::string& caption) {
  std::string out;
  // Whole characters, never half of one.
  for (std::string_view ch : text::characters(caption)) {
    out += ch;
    out += ' ';
  }
  return out;
}

void speakPrompt(Session& s) {
  selectJapaneseVoice(s);
  s.speech.sayText(s.form.caption(Control::Prompt));
  const std::int32_t left = s.drill.remainingCount;
  s.speech.sayText(left > 0 ? "単語数は" + std::to_string(left) + "です。" : std::string());
}

void spellOutLastCaption(Session& s) {
  s.speech.setCurrentMode(s.voices.englishVoiceMode);
  if (s.drill.lastSpoken.empty()) return;
  s.speech.sayText(spellOut(s.drill.lastSpoken));
}

void toggleSlowSpeech(Session& s) {
  MenuState& item = s.form.menu(Menu::SlowSpeech);
  VoiceState& v = s.voices;
  if (!item.checked) {
    v.savedSpeed = s.speech.speed();
    v.slowMode = true;
    s.speech.setSpeed(s.speech.minSpeed());
    item.checked = true;
  } else {
    s.speech.setSpeed(v.savedSpeed);
    v.slowMode = false;
    item.checked = false;
  }
}

void speakScore(Session& s) {
  selectJapaneseVoice(s);
  s.speech.sayText(s.form.caption(Control::Score));
}

void checkEngineAndSpeakPrompt(Session& s) {
  selectJapaneseVoice(s);
  const std::int32_t error = s.speech.lastError();
  if (error != 0) showMessage(s, "SAPI Error" + std::to_string(error));
  s.speech.sayText(s.form.caption(Control::Prompt));
}

}  // namespace orvane
