// What the program needs from its surroundings: modal boxes, dialogs, help, the clock. The Qt
// window and the headless runner each provide one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings.hpp"
#include "window/form.hpp"

namespace orvane {

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box with the application title and one OK button; returns when closed.
  virtual void messageBox(const std::string& text) = 0;
  // The general error report's box (error icon, one OK button).
  virtual void errorBox(const std::string& text) = 0;
  virtual void beep() = 0;
  // The file-open dialog for question files; nothing when cancelled.
  virtual std::optional<std::string> chooseQuestionFile() = 0;
  // The voice dialog's model has been opened or closed; show or hide it.
  virtual void voiceDialogOpened() = 0;
  virtual void voiceDialogClosed() = 0;
  virtual void showHelp(const std::string& path) = 0;
  // The settings dialog, modal, showing `current`: the values to put in force, or nothing when
  // cancelled. Where there is no dialog, nothing changes.
  virtual std::optional<Settings> editSettings(const Settings& /*current*/) { return std::nullopt; }
  // The keyboard focus moved to a control (the model has it already).
  virtual void focusMoved(Control c) = 0;
  // Full path of the program's own file.
  virtual std::string programPath() = 0;
  // The modifier keys the user holds at this moment.
  virtual Modifiers heldModifiers() = 0;
  // Milliseconds since midnight, UTC: seeds the shuffle.
  virtual std::int64_t timeOfDayMs() = 0;
  // Whether a screen reader is running now (the accessibility bus's ScreenReaderEnabled).
  virtual bool screenReaderRunning() { return false; }
  // Local time, as milliseconds since 1970-01-01T00:00:00 local: the results record's clock.
  virtual std::int64_t localTimeMs();
};

}  // namespace orvane
