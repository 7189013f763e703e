// The functions the page calls: start-up, the events of the main window and of the voice dialog,
// and the model to draw after each. One session lives for the life of the page, as for the life
// of the desktop program.
#include <emscripten/emscripten.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/dispatcher.hpp"
#include "app/session.hpp"
#include "app/settings.hpp"
#include "web/state_json.hpp"
#include "web/web_platform.hpp"
#include "web/web_speech.hpp"

namespace orvane::web {
namespace {

struct Bridge {
  TranscriptSink transcript;
  WebSpeech speech{transcript};
  std::optional<WebPlatform> platform;
  std::optional<Session> session;
  std::optional<Dispatcher> dispatcher;
  std::string shown;  // the last JSON handed to the page, alive until the next
  bool exitWritten = false;
};

Bridge& bridge() {
  static Bridge b;
  return b;
}

// Runs an event of the page once the program has started, and writes the transcript's last line
// when it ends the program.
template <class F>
void event(F&& f) {
  Bridge& b = bridge();
  if (!b.dispatcher) return;
  f(*b.dispatcher);
  if (b.dispatcher->finished() && !b.exitWritten) {
    b.exitWritten = true;
    b.transcript.write("exit");
  }
}

std::optional<Key> keyByName(std::string_view name) {
  static constexpr std::pair<std::string_view, Key> kKeys[] = {
      {"Tab", Key::Tab},     {"Enter", Key::Enter}, {"Space", Key::Space}, {"Left", Key::Left},
      {"Right", Key::Right}, {"Up", Key::Up},       {"Down", Key::Down},   {"R", Key::R},
      {"W", Key::W},         {"S", Key::S},         {"E", Key::E},
  };
  for (const auto& [n, key] : kKeys) {
    if (n == name) return key;
  }
  return std::nullopt;
}

}  // namespace
}  // namespace orvane::web

using namespace orvane;
using namespace orvane::web;

extern "C" {

// The model's layout, read once by the page before it draws the window.
EMSCRIPTEN_KEEPALIVE const char* orvane_layout() {
  static const std::string layout = layoutJson(Form());
  return layout.c_str();
}

// Start-up in the current folder. `testMode` writes the transcript; the paths are those of the
// program's own file (for help), speech.ini and the question file read at start; `fileGiven`
// when that file was named by the learner (as `orvane FILE` names it) rather than the default.
EMSCRIPTEN_KEEPALIVE void orvane_start(int testMode, const char* programPath,
                                       const char* speechIniPath, const char* startFilePath,
                                       int fileGiven) {
  Bridge& b = bridge();
  if (b.session) return;
  b.transcript.setEnabled(testMode != 0);
  b.platform.emplace(b.transcript, programPath);
  b.session.emplace(b.speech, *b.platform);
  b.session->speechIniPath = speechIniPath;
  b.session->startFilePath = startFilePath;
  b.session->startFileGiven = fileGiven != 0;
  b.dispatcher.emplace(*b.session);
  event([](Dispatcher& d) { d.startUp(); });
}

EMSCRIPTEN_KEEPALIVE const char* orvane_state() {
  Bridge& b = bridge();
  b.shown = b.session ? stateJson(*b.session, b.dispatcher->finished()) : std::string("null");
  return b.shown.c_str();
}

EMSCRIPTEN_KEEPALIVE void orvane_click(const char* name) {
  if (const auto c = controlByName(name)) event([&](Dispatcher& d) { d.click(*c); });
}

// `modifiers`: Shift 1, Ctrl 2, Alt 4; `repeat`: an automatic repeat of a held key.
EMSCRIPTEN_KEEPALIVE void orvane_key(const char* name, int modifiers, int repeat) {
  const auto key = keyByName(name);
  if (!key) return;
  KeyStroke k{*key, {(modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0}};
  k.repeat = repeat != 0;
  event([&](Dispatcher& d) { d.key(k); });
}

EMSCRIPTEN_KEEPALIVE void orvane_menu(const char* name) {
  if (const auto m = menuByName(name)) event([&](Dispatcher& d) { d.menu(*m); });
}

// File > Open, after the page's file chooser: `path` is where the page put the chosen file, or
// null when the chooser was cancelled.
EMSCRIPTEN_KEEPALIVE void orvane_open(const char* path) {
  Bridge& b = bridge();
  if (!b.platform) return;
  b.platform->setChosenFile(path ? std::optional<std::string>(path) : std::nullopt);
  event([](Dispatcher& d) { d.menu(Menu::Open); });
  b.platform->setChosenFile(std::nullopt);
}

// Settings > the page's settings dialog closed: `text` is what it gave as settings.ini lines
// (values it does not set keep theirs), or null when it was cancelled.
EMSCRIPTEN_KEEPALIVE void orvane_settings(const char* text) {
  Bridge& b = bridge();
  if (!b.platform || !b.session) return;
  std::optional<Settings> values;
  if (text) {
    // What the dialog left out stays as it is: the current values first, the dialog's after.
    values = parseSettings(formatSettings(SettingsFile{}, b.session->settings.values) + "\n" + text)
                 .values;
  }
  b.platform->setEditedSettings(std::move(values));
  event([](Dispatcher& d) { d.menu(Menu::Settings); });
  b.platform->setEditedSettings(std::nullopt);
}

// The scan timer fell due: its count starts again, and the tick runs.
EMSCRIPTEN_KEEPALIVE void orvane_tick() {
  Bridge& b = bridge();
  if (!b.session || !b.session->form.timer().enabled()) return;
  b.session->form.timer().restartCount();
  event([](Dispatcher& d) { d.tick(); });
}

EMSCRIPTEN_KEEPALIVE void orvane_activate() {
  event([](Dispatcher& d) { d.activate(); });
}

EMSCRIPTEN_KEEPALIVE void orvane_dialog_select(int list, int pos) {
  event([&](Dispatcher& d) { d.dialogSelect(list, pos); });
}

EMSCRIPTEN_KEEPALIVE void orvane_dialog_ok() {
  event([](Dispatcher& d) { d.dialogOk(); });
}

EMSCRIPTEN_KEEPALIVE void orvane_dialog_cancel() {
  event([](Dispatcher& d) { d.dialogCancel(); });
}

}  // extern "C"
