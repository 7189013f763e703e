// app/: the application that wires the rooms below it: the session, the dispatcher every event
// enters through, the handlers of buttons, menu items, focus and scan, and speech.ini. Stands on
// core/, drill/ and window/, and speaks through the interface in core/ (the real voice is
// plugged in by the programs); the Qt window (qt/) and the tools stand on it.
//
// Everything the handlers share: the window model, the drill (which reads the question file), the
// voice state, the speech adapter and the platform. One Session lives for the whole run.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/platform.hpp"
#include "app/settings.hpp"
#include "core/speech_control.hpp"
#include "drill/drill.hpp"
#include "window/form.hpp"

namespace orvane {

// The learner's voices (from speech.ini) and the rate every utterance is spoken at.
struct VoiceState {
  std::int32_t iniReserved = 0;
  std::int32_t japaneseVoiceMode = 0;
  std::int32_t englishVoiceMode = 0;
  bool slowMode = false;
  // The rate in force: the speech's own at start, its slowest while slow speech is on.
  std::int32_t rate = 0;
  std::int32_t savedRate = 0;  // the rate slow speech will go back to
};

// The voice dialog's model: two lists filled once per run, and their selections.
struct VoiceDialog {
  static constexpr std::size_t kMaxPerLanguage = 50;
  bool listsFilled = false;
  bool open = false;
  // The lists hold the built-in voices only, and a speech server's are still being listed: the
  // dialog says so, and the lists are made again when they come.
  bool loading = false;
  std::vector<std::string> japaneseItems, englishItems;   // item texts, "3) Name"
  std::vector<std::int32_t> japaneseModes, englishModes;  // voice mode of each item
  int selected1 = -1, selected2 = -1;                     // selected position, -1 for none
};

enum class Key { Tab, Enter, Space, Left, Right, Up, Down, R, W, S, E };

struct KeyStroke {
  Key key;
  Modifiers modifiers;
  bool down = true;
  bool posted = false;  // posted by the scan timer: modifiers are read when it is handled
  bool repeat = false;  // an automatic repeat of a held key
};

// The scan beyond its timer: the steps it has taken since the learner last pressed a key, and
// whether it has paused after its rounds (settings.ini's scan_rounds).
struct ScanState {
  std::int32_t stepsWithoutPress = 0;
  bool paused = false;
};

struct Session {
  Session(SpeechControl& s, Platform& p)
      : drill([this] { return static_cast<std::uint64_t>(platform.timeOfDayMs()); }),
        speech(s),
        platform(p) {}

  Form form;
  // The shuffle is seeded from the clock before every question.
  Drill drill;
  VoiceState voices;
  VoiceDialog dialog;
  SpeechControl& speech;
  Platform& platform;
  // The caption last spoken because its button took the focus: what the spell-out spells. A new
  // question, a new file and Erase forget it.
  std::string lastSpoken;
  // A screen reader speaks for the learner (settings.ini's screen_reader, and whether one is
  // running): it reads the focused button's name, and the program's own speech queues with it.
  bool besideScreenReader = false;
  // Set by End, Exit and the failure paths that end the program; the loop stops at its next turn.
  bool quitRequested = false;
  ScanState scan;
  // When the last key press that was acted on came (ms since midnight): the switch guard.
  std::optional<std::int64_t> lastPressMs;
  // Key strokes posted by the scan timer, handled after the current handler.
  std::deque<KeyStroke> postedKeys;
  // A modal box or dialog of the program closed: the window is activated again after the
  // current handler (the focus goes to the first visible button when none has it).
  bool activationPending = false;

  // What this learner set once (settings.ini), as read at start-up; its lines are kept so that
  // saving keeps the file's comments and keys this build does not know.
  SettingsFile settings;

  std::string speechIniPath = "speech.ini";
  std::string settingsPath = "settings.ini";
  // The lesson in use, as it was opened (the results record names it), and when its question on
  // show came (Platform::localTimeMs).
  std::string lessonPath;
  std::int64_t questionShownAtMs = 0;
  // A results record that could not be written is named once; nothing more is tried.
  bool resultsFailed = false;

  std::string startFilePath = "toi.dat";
  // The start file was named when the program was started (`orvane FILE`), not toi.dat.
  bool startFileGiven = false;
};

}  // namespace orvane

namespace orvane {

// A modal message box; the main window is activated again once it closes.
inline void showMessage(Session& s, const std::string& text) {
  s.platform.messageBox(text);
  s.activationPending = true;
}

}  // namespace orvane
