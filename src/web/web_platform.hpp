// The platform the core talks to, carried out by the page: its boxes, help, the modifier keys it
// has seen and its clock. The file dialog is the page's own and runs before the core is told of
// File > Open, so the chosen file is already at hand when the core asks for it.
#pragma once

#include <optional>
#include <string>

#include "app/platform.hpp"
#include "app/settings.hpp"
#include "web/transcript_sink.hpp"

namespace orvane::web {

class WebPlatform : public Platform {
 public:
  WebPlatform(TranscriptSink& transcript, std::string programPath)
      : transcript_(transcript), programPath_(std::move(programPath)) {}

  void messageBox(const std::string& text) override;
  void errorBox(const std::string& text) override;
  void beep() override;
  // The file the page's file chooser gave, once; nothing when it was cancelled.
  std::optional<std::string> chooseQuestionFile() override;
  // The page shows and hides the voice dialog from the model it reads after every event.
  void voiceDialogOpened() override {}
  void voiceDialogClosed() override {}
  void showHelp(const std::string& path) override;
  void focusMoved(Control c) override;
  std::string programPath() override { return programPath_; }
  Modifiers heldModifiers() override;
  std::int64_t timeOfDayMs() override;
  std::int64_t localTimeMs() override;

  void setChosenFile(std::optional<std::string> path) { chosenFile_ = std::move(path); }
  // The settings the page's dialog gave, once; nothing when it was cancelled.
  std::optional<Settings> editSettings(const Settings& current) override;
  void setEditedSettings(std::optional<Settings> values) { editedSettings_ = std::move(values); }

 private:
  TranscriptSink& transcript_;
  std::string programPath_;
  std::optional<std::string> chosenFile_;
  std::optional<Settings> editedSettings_;
};

}  // namespace orvane::web
