// A platform for unit tests that records what the program shows.
#pragma once

#include <string>
#include <vector>

#include "app/platform.hpp"

namespace orvane::testing {

class FakePlatform : public Platform {
 public:
  void messageBox(const std::string& text) override { messages.push_back(text); }
  void errorBox(const std::string& text) override { errors.push_back(text); }
  void beep() override { ++beeps; }
  std::optional<std::string> chooseQuestionFile() override { return fileAnswer; }
  void voiceDialogOpened() override { ++dialogOpened; }
  void voiceDialogClosed() override { ++dialogClosed; }
  void showHelp(const std::string& path) override { helpPaths.push_back(path); }
  void focusMoved(Control c) override { focus.push_back(c); }
  std::string programPath() override { return "/opt/orvane/bin/orvane"; }
  Modifiers heldModifiers() override { return held; }
  std::int64_t timeOfDayMs() override { return clock; }

  std::vector<std::string> messages, errors, helpPaths;
  std::vector<Control> focus;
  std::optional<std::string> fileAnswer;
  Modifiers held;
  std::int64_t clock = 0;
  int beeps = 0, dialogOpened = 0, dialogClosed = 0;
};

}  // namespace orvane::testing
