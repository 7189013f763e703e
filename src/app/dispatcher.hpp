// The one place events enter the program. Each event runs its handler to the end; an error that
// escapes is shown by the general error report and the program goes on. Key strokes posted by
// the scan timer wait until the current handler is done, as in a message loop.
#pragma once

#include "app/session.hpp"

namespace orvane {

class Dispatcher {
 public:
  explicit Dispatcher(Session& s) : s_(s) {}

  // Start-up, then the main window is shown and activated.
  void startUp();

  // Events of the main window. They are ignored while the voice dialog is open (it is modal) and
  // once the program has been asked to end.
  void click(Control c);  // a mouse click: focus first, then the click
  void key(const KeyStroke& k);
  void menu(Menu m);
  void tick();  // the scan timer fired
  // Polled by a window while the scan waits for speech: the scan's count stands while the
  // program speaks.
  void holdScanWhileSpeaking();
  void activate();                     // the window became active
  void setZoom(std::int32_t percent);  // the window's zoom keys

  // Events of the open voice dialog.
  void dialogSelect(int list, int pos);
  void dialogOk();
  void dialogCancel();
  // While the dialog's lists are loading, asked from time to time: true when they were made again
  // with the speech server's voices.
  bool dialogRefresh();

  bool finished() const { return s_.quitRequested; }

 private:
  template <class F>
  void run(F&& handler);
  void handleKey(const KeyStroke& k);
  bool mainWindowTakesInput() const;

  Session& s_;
  bool busy_ = false;
};

}  // namespace orvane
