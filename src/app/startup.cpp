#include "app/startup.hpp"

#include "app/learner_settings.hpp"
#include "app/loading.hpp"
#include "app/scan.hpp"
#include "app/speaking_commands.hpp"
#include "app/speech_ini.hpp"
#include "app/voice_settings.hpp"
#include "app/voice_steps.hpp"

namespace orvane {

namespace {

void startUpDrill(Session& s) {
  s.voices.rate = s.speech.defaultRate();
  try {
    const SpeechIni ini = readSpeechIni(s.speechIniPath);
    s.voices.japaneseVoiceMode = ini.japaneseVoiceMode;
    s.voices.englishVoiceMode = ini.englishVoiceMode;
    checkNamedVoices(s);
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

}  // namespace

void startUpForm(Session& s) {
  readLearnerSettings(s);
  const ScreenReaderMode reader = s.settings.values.screenReader;
  s.besideScreenReader = reader == ScreenReaderMode::On ||
                         (reader == ScreenReaderMode::Auto && s.platform.screenReaderRunning());
  // The learner's pace holds from the first interval on.
  s.form.timer().setPacePercent(s.settings.values.scanPercent);
  startUpDrill(s);
  // A switch user's scan is on from start, as if switched on right after start-up.
  if (s.settings.values.autoScan && !s.quitRequested) toggleAutoScan(s);
}

}  // namespace orvane
