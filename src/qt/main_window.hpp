// qt/: the Qt front end: widgets that mirror the window model, dialogs, the help viewer and the
// program's main(). The top floor, with the tools.
//
// The main window: one widget per control of the window model at its place and font, the menu
// bar, and the voice dialog. It mirrors the model after every event and turns Qt's key strokes,
// clicks, menu commands and timer ticks into the dispatcher's events; the focus rules stay in
// the core, so Qt's own Tab handling is not used.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <optional>

#include "app/dispatcher.hpp"
#include "app/session.hpp"
#include "qt/control_places.hpp"
#include "qt/key_strokes.hpp"

class QAction;
class QLabel;

namespace orvane::qt {

class VoiceDialogWindow;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Session& session, Dispatcher& dispatcher);
  ~MainWindow() override;

  // Reflects the model: captions, visibility, focus, menu state and the scan timer.
  void sync();

  QWidget* widgetFor(Control c) const { return widgets_[static_cast<std::size_t>(c)]; }
  QAction* actionFor(Menu m) const { return actions_[static_cast<std::size_t>(m)]; }
  // The voice dialog, built when it is first needed.
  VoiceDialogWindow* voiceDialog();

  void openVoiceDialog();
  void closeVoiceDialog();

  // Called once the program has been asked to end (the transcript gets its last line there).
  void setOnFinished(std::function<void()> f) { onFinished_ = std::move(f); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  template <class F>
  void dispatch(F&& f);
  void buildControls(QWidget* client);
  void buildMenus();
  bool handleKey(QKeyEvent* event);
  // A label keeps its designed place and grows to the right as far as there is room.
  void fitWidth(Control c, QLabel* label);
  // Draws the window at the learner's zoom: every place, font and the focus ring.
  void applyZoom();
  void changeZoom(ZoomKey k);

  Session& session_;
  Dispatcher& dispatcher_;
  std::array<QWidget*, kControlCount> widgets_{};
  std::array<QAction*, kMenuCount> actions_{};
  std::array<std::optional<std::string>, kControlCount> shownCaptions_{};  // none: not yet shown
  QWidget* client_ = nullptr;
  QTimer scanTimer_{this};
  QTimer speechWatch_{this};
  std::uint64_t timerGeneration_ = 0;
  VoiceDialogWindow* dialog_ = nullptr;
  std::function<void()> onFinished_;
  bool finished_ = false;
  int appliedZoom_ = 100;
};

}  // namespace orvane::qt
