#include "ui/qt/qt_platform.hpp"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <chrono>

#include "app/transcript.hpp"
#include "ui/qt/help_viewer.hpp"
#include "ui/qt/main_window.hpp"

namespace orvane::qt {

namespace {
// Message texts break their lines with CR, as the classic boxes did.
QString boxText(const std::string& text) {
  QString s = QString::fromUtf8(text);
  s.replace("\r\n", "\n");
  s.replace('\r', '\n');
  return s;
}
}  // namespace

QtPlatform::QtPlatform(const std::string& transcriptPath) {
  if (!transcriptPath.empty()) {
    transcript_ = std::make_unique<std::ofstream>(transcriptPath, std::ios::binary);
  }
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::log(const std::string& line) {
  if (transcript_) *transcript_ << line << '\n' << std::flush;
}

QWidget* QtPlatform::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return window_ && window_->isVisible() ? window_ : nullptr;
}

void QtPlatform::showBox(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), boxText(text), QMessageBox::Ok,
                  dialogParent());
  box.exec();
}

void QtPlatform::messageBox(const std::string& text) {
  log(transcript::message(text));
  showBox(QMessageBox::NoIcon, text);
}

void QtPlatform::errorBox(const std::string& text) {
  log(transcript::error(text));
  showBox(QMessageBox::Critical, text);
}

void QtPlatform::beep() {
  log("beep");
  QApplication::beep();
}

std::optional<std::string> QtPlatform::chooseQuestionFile() {
  const QString file = QFileDialog::getOpenFileName(dialogParent(), QString(), QString(),
                                                    QString::fromUtf8("問題ファイル (*.dat)"));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

void QtPlatform::voiceDialogOpened() {
  if (window_) window_->openVoiceDialog();
}

void QtPlatform::voiceDialogClosed() {
  if (window_) window_->closeVoiceDialog();
}

void QtPlatform::showHelp(const std::string& path) {
  log(transcript::help(path));
  HelpViewer::show(path, window_);
}

void QtPlatform::focusMoved(Control c) {
  log(transcript::focus(c));
}

std::string QtPlatform::programPath() {
  return QCoreApplication::applicationFilePath().toStdString();
}

Modifiers QtPlatform::heldModifiers() {
  const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
          m.testFlag(Qt::AltModifier)};
}

std::int64_t QtPlatform::timeOfDayMs() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return ms % 86'400'000;
}

}  // namespace orvane::qt
