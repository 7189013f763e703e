#include "qt/qt_platform.hpp"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <chrono>

#include "app/transcript.hpp"
#include "qt/help_viewer.hpp"
#include "qt/main_window.hpp"
#include "qt/settings_dialog.hpp"

namespace orvane::qt {

namespace {
// A text taller than the screen scrolls inside its box, so that the OK button stays in reach.
void fitToScreen(QMessageBox& box) {
  const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (!screen || !label) return;
  // Room for the title bar and the frame a window manager adds.
  const int room = screen->availableGeometry().height() - 64;
  const int tall = box.sizeHint().height();
  if (tall <= room) return;
  auto* scroll = new QScrollArea;
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  delete box.layout()->replaceWidget(label, scroll);
  scroll->setWidget(label);
  scroll->setWidgetResizable(true);
  scroll->setMinimumWidth(label->sizeHint().width() +
                          scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
  scroll->setFixedHeight(std::max(room - (tall - label->sizeHint().height()), 100));
}

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
  fitToScreen(box);
  box.exec();
  reactivateWindow();
}

void QtPlatform::reactivateWindow() {
  // Without a window manager nobody gives the keyboard back to the window when a box closes,
  // and the learner's keys would go nowhere.
  if (window_ && window_->isVisible() && !QApplication::activeModalWidget()) {
    window_->activateWindow();
  }
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
  QFileDialog dialog(dialogParent(), QString(), QString(),
                     QString::fromUtf8("問題ファイル (*.dat)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Qt's own dialog (where the desktop offers none) shows every column whole.
  if (auto* view = dialog.findChild<QTreeView*>()) {
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  }
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  reactivateWindow();
  if (!chosen) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<Settings> QtPlatform::editSettings(const Settings& current) {
  SettingsDialog dialog(current, dialogParent());
  const bool accepted = dialog.exec() == QDialog::Accepted;
  reactivateWindow();
  if (!accepted) return std::nullopt;
  return dialog.values();
}

void QtPlatform::voiceDialogOpened() {
  if (window_) window_->openVoiceDialog();
}

void QtPlatform::voiceDialogClosed() {
  if (window_) window_->closeVoiceDialog();
  reactivateWindow();
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

bool QtPlatform::screenReaderRunning() {
  // A screen reader sets ScreenReaderEnabled on the accessibility bus's status while it runs.
  // Asked once at start, and never waited on for long: no session bus, no screen reader.
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage ask = QDBusMessage::createMethodCall(
      QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  ask << QStringLiteral("org.a11y.Status") << QStringLiteral("ScreenReaderEnabled");
  const QDBusMessage reply = bus.call(ask, QDBus::Block, 1000);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

}  // namespace orvane::qt
