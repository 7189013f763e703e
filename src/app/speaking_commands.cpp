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
  say(s, Voice::Japanese, s.drill.prompt());
  const std::int32_t left = s.drill.wordsLeft();
  say(s, Voice::Japanese, left > 0 ? "単語数は" + std::to_string(left) + "です。" : std::string());
}

void spellOutLastCaption(Session& s) {
  if (s.lastSpoken.empty()) return;
  say(s, Voice::English, spellOut(s.lastSpoken));
}

void toggleSlowSpeech(Session& s) {
  MenuState& item = s.form.menu(Menu::SlowSpeech);
  VoiceState& v = s.voices;
  if (!item.checked) {
    v.savedRate = v.rate;
    v.slowMode = true;
    v.rate = s.speech.minRate();
    item.checked = true;
  } else {
    v.rate = v.savedRate;
    v.slowMode = false;
    item.checked = false;
  }
}

void speakSentenceSoFar(Session& s) {
  // With no word placed there is nothing to hear, and an empty text would only cut the voice.
  const std::string sentence = text::trim(s.drill.sentence());
  if (sentence.empty()) return;
  say(s, Voice::English, sentence);
}

void speakScore(Session& s) {
  say(s, Voice::Japanese, s.drill.reportedScoreText());
}

void reportEngineError(Session& s) {
  const std::int32_t error = s.speech.lastError();
  if (error != 0) showMessage(s, "SAPI Error" + std::to_string(error));
}

}  // namespace orvane
