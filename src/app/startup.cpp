#include "app/startup.hpp"

#include "app/loading.hpp"
#include "app/speaking_commands.hpp"
#include "app/speech_ini.hpp"
#include "app/voice_steps.hpp"

namespace orvane {

void startUpForm(Session& s) {
  s.voices.rate = s.speech.defaultRate();
  try {
    const SpeechIni ini = readSpeechIni(s.speechIniPath);
    s.voices.japaneseVoiceMode = ini.japaneseVoiceMode;
    s.voices.englishVoiceMode = ini.englishVoiceMode;
    const std::optional<DrillStep> first = loadStartFile(s);
    // Without toi.dat nothing is shown and nothing is spoken: File > Open brings a drill up.
    if (!first) return;
    reportEngineError(s);
    sayStep(s, *first);
  } catch (const std::exception&) {
    showMessage(s, kStartupFailureMessage);
    s.quitRequested = true;
  }
}

}  // namespace orvane
