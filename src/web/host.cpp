#include "web/host.hpp"

#include <emscripten/emscripten.h>

#include <climits>
#include <cstdlib>

// The page's host object is looked up at each call: the module is made before the page has
// decided between its real and its test surroundings.
// clang-format off
EM_JS(void, orvaneHostMessageBox, (const char* text, int error), {
  Module.orvaneHost.messageBox(UTF8ToString(text), !!error);
});
EM_JS(void, orvaneHostBeep, (), { Module.orvaneHost.beep(); });
EM_JS(void, orvaneHostShowHelp, (const char* path), {
  Module.orvaneHost.showHelp(UTF8ToString(path));
});
EM_JS(void, orvaneHostTranscriptLine, (const char* line), {
  Module.orvaneHost.transcriptLine(UTF8ToString(line));
});
EM_JS(int, orvaneHostHeldModifiers, (), { return Module.orvaneHost.heldModifiers(); });
EM_JS(double, orvaneHostTimeOfDayMs, (), { return Module.orvaneHost.timeOfDayMs(); });
EM_JS(double, orvaneHostLocalTimeMs, (), { return Module.orvaneHost.localTimeMs(); });
EM_JS(int, orvaneHostSpeaking, (), { return Module.orvaneHost.speech.speaking() ? 1 : 0; });
EM_JS(int, orvaneHostSpeechValue, (const char* what), {
  return Module.orvaneHost.speech.value(UTF8ToString(what)) | 0;
});
EM_JS(char*, orvaneHostVoiceModeTitle, (int mode), {
  const title = Module.orvaneHost.speech.modeTitle(mode);
  return title === null || title === undefined ? 0 : allocateUTF8(title);
});
EM_JS(double, orvaneHostVoiceModeLanguage, (int mode), {
  const language = Module.orvaneHost.speech.modeLanguage(mode);
  return language === null || language === undefined ? NaN : language;
});
EM_JS(void, orvaneHostSpeak, (const char* text, int length, int mode, int rate, int cut), {
  Module.orvaneHost.speech.speak({text: UTF8ToString(text, length), mode: mode, rate: rate,
                                  cutByNextCaption: !!cut});
});
EM_JS(void, orvaneHostExpectCaptions, (int mode, int rate, const char* texts), {
  Module.orvaneHost.speech.expectCaptions(mode, rate, JSON.parse(UTF8ToString(texts)));
});
// clang-format on

namespace orvane::web::host {

void messageBox(const std::string& text, bool error) {
  orvaneHostMessageBox(text.c_str(), error ? 1 : 0);
}
void beep() {
  orvaneHostBeep();
}
void showHelp(const std::string& path) {
  orvaneHostShowHelp(path.c_str());
}
void transcriptLine(const std::string& line) {
  orvaneHostTranscriptLine(line.c_str());
}
int heldModifiers() {
  return orvaneHostHeldModifiers();
}
std::int64_t timeOfDayMs() {
  return static_cast<std::int64_t>(orvaneHostTimeOfDayMs());
}

std::int64_t localTimeMs() {
  return static_cast<std::int64_t>(orvaneHostLocalTimeMs());
}
bool speaking() {
  return orvaneHostSpeaking() != 0;
}

std::int32_t speechValue(const char* what) {
  return orvaneHostSpeechValue(what);
}

std::optional<std::string> voiceModeTitle(std::int32_t mode) {
  char* title = orvaneHostVoiceModeTitle(mode);
  if (!title) return std::nullopt;
  std::string s(title);
  std::free(title);
  return s;
}

std::optional<std::int32_t> voiceModeLanguage(std::int32_t mode) {
  const double language = orvaneHostVoiceModeLanguage(mode);
  if (!(language >= INT32_MIN && language <= INT32_MAX)) return std::nullopt;
  return static_cast<std::int32_t>(language);
}

void speak(std::string_view text, std::int32_t mode, std::int32_t rate, bool cutByNextCaption) {
  orvaneHostSpeak(text.data(), static_cast<int>(text.size()), mode, rate, cutByNextCaption ? 1 : 0);
}

void expectCaptions(std::int32_t mode, std::int32_t rate, const std::string& textsJson) {
  orvaneHostExpectCaptions(mode, rate, textsJson.c_str());
}

}  // namespace orvane::web::host
