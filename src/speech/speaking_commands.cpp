#include "speech/speaking_commands.hpp"

#include "drill/text.hpp"
#include "speech/voice_steps.hpp"

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

void speak_toi(Session& s) {
  selectJapaneseVoice(s);
  s.speech.sayText(s.form.caption(Control::Japanease));
  const std::int32_t left = s.drill.RemainingCount;
  s.speech.sayText(left > 0 ? "単語数は" + std::to_string(left) + "です。" : std::string());
}

void N6Click(Session& s) {
  s.speech.setCurrentMode(s.voices.EnglishVoiceMode);
  if (s.drill.LastSpoken.empty()) return;
  s.speech.sayText(spellOut(s.drill.LastSpoken));
}

void N8Click(Session& s) {
  MenuState& item = s.form.menu(Menu::N8);
  VoiceState& v = s.voices;
  if (!item.checked) {
    v.SavedSpeed = s.speech.speed();
    v.SlowMode = true;
    s.speech.setSpeed(s.speech.minSpeed());
    item.checked = true;
  } else {
    s.speech.setSpeed(v.SavedSpeed);
    v.SlowMode = false;
    item.checked = false;
  }
}

void N11Click(Session& s) {
  selectJapaneseVoice(s);
  s.speech.sayText(s.form.caption(Control::Score_Label));
}

void checkEngineAndSpeakPrompt(Session& s) {
  selectJapaneseVoice(s);
  const std::int32_t error = s.speech.lastError();
  if (error != 0) showMessage(s, "SAPI Error" + std::to_string(error));
  s.speech.sayText(s.form.caption(Control::Japanease));
}

}  // namespace orvane
