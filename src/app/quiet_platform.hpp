// A platform that shows nothing and answers every dialog with a cancel: for running the core
// where nobody watches (fuzzing, benchmarks).
#pragma once

#include "app/platform.hpp"

namespace orvane {

class QuietPlatform : public Platform {
 public:
  void messageBox(const std::string&) override {}
  void errorBox(const std::string&) override {}
  void beep() override {}
  std::optional<std::string> chooseQuestionFile() override { return std::nullopt; }
  void voiceDialogOpened() override {}
  void voiceDialogClosed() override {}
  void showHelp(const std::string&) override {}
  void focusMoved(Control) override {}
  std::string programPath() override { return "/nonexistent/orvane"; }
  Modifiers heldModifiers() override { return {}; }
  std::int64_t timeOfDayMs() override { return clock++; }
  std::int64_t clock = 0;
};

}  // namespace orvane
