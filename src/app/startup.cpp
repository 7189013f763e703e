#include "app/startup.hpp"

#include "app/loading.hpp"
#include "app/speaking_commands.hpp"
#include "app/speech_ini.hpp"

namespace orvane {

void startUpForm(Session& s) {
  s.drill = DrillState{};
  s.voices.rate = s.speech.defaultRate();
  try {
    const SpeechIni ini = readSpeechIni(s.speechIniPath);
    s.voices.japaneseVoiceMode = ini.japaneseVoiceMode;
    s.voices.englishVoiceMode = ini.englishVoiceMode;
    if (!loadStartFile(s)) return;
    checkEngineAndSpeakPrompt(s);
  } catch (const std::exception&) {
    showMessage(s, kStartupFailureMessage);
    s.quitRequested = true;
  }
}

}  // namespace orvane
