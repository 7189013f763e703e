// The help viewer: one window that shows the program's help file (HTML), opened beside the drill
// without waiting for it.
#pragma once

#include <string>

class QWidget;

namespace orvane::qt {

class HelpViewer {
 public:
  // Shows `path` in the help window, making it the first time.
  static void show(const std::string& path, QWidget* owner);
};

}  // namespace orvane::qt
