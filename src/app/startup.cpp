#include "app/startup.hpp"

#include "drill/loading.hpp"
#include "speech/speaking_commands.hpp"
#include "speech/speech_ini.hpp"

namespace orvane {

void Form_init(Session& s) {
  s.drill = DrillState{};
  try {
    const SpeechIni ini = readSpeechIni(s.speechIniPath);
    s.voices.JapaneseVoiceMode = ini.japaneseVoiceMode;
    s.voices.EnglishVoiceMode = ini.englishVoiceMode;
    if (!loadStartFile(s)) return;
    checkEngineAndSpeakPrompt(s);
  } catch (const std::exception&) {
    showMessage(s, kStartupFailureMessage);
    s.quitRequested = true;
  }
}

}  // namespace orvane
