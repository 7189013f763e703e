// The platform services of the real window: Qt message boxes, the file dialog, the help viewer,
// the keyboard state and the clock. Optionally writes a transcript of what the program does.
#pragma once

#include <QMessageBox>
#include <fstream>
#include <memory>
#include <string>

#include "app/platform.hpp"

class QWidget;

namespace orvane::qt {

class MainWindow;

inline constexpr const char* kApplicationTitle = "Orvaneプログラム";

class QtPlatform : public Platform {
 public:
  // With a path, every event line is also written to that file.
  explicit QtPlatform(const std::string& transcriptPath = {});
  ~QtPlatform() override;

  void attach(MainWindow* window) { window_ = window; }

  void messageBox(const std::string& text) override;
  void errorBox(const std::string& text) override;
  void beep() override;
  std::optional<std::string> chooseQuestionFile() override;
  void voiceDialogOpened() override;
  void voiceDialogClosed() override;
  void showHelp(const std::string& path) override;
  std::optional<Settings> editSettings(const Settings& current) override;
  void focusMoved(Control c) override;
  std::string programPath() override;
  Modifiers heldModifiers() override;
  std::int64_t timeOfDayMs() override;
  bool screenReaderRunning() override;

  // One line into the transcript, when there is one.
  void log(const std::string& line);

 private:
  QWidget* dialogParent() const;
  // A modal box with the program's title and an OK button, over the window or its dialog.
  void showBox(QMessageBox::Icon icon, const std::string& text);
  // Gives the keyboard back to the main window once a box or dialog has closed.
  void reactivateWindow();

  MainWindow* window_ = nullptr;
  std::unique_ptr<std::ofstream> transcript_;
};

}  // namespace orvane::qt
