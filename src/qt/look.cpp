#include "qt/look.hpp"

namespace orvane::qt {

QString drillStyleSheet(int zoomPercent) {
  // The border and padding add up to the ring's width in every state, so a caption keeps its
  // place when the ring comes and goes. The contrasts, against the yellow ground and the face:
  // boundary 19:1 and 16:1, ring 8:1 and 8:1, a disabled button's boundary 7:1.
  const QString face = kButtonFace.name(), boundary = kButtonBoundary.name(),
                ring = kFocusRing.name();
  const int ringWidth = kFocusRingWidth * zoomPercent / 100;
  const QString width = QString::number(ringWidth), padding = QString::number(ringWidth - 1);
  return QStringLiteral(
             "QPushButton { background-color: %1; border: 1px solid %2; padding: %5px; }"
             "QPushButton:pressed { background-color: #c8c8c8; }"
             "QPushButton:disabled { color: #6d6d6d; border-color: #595959; }"
             "QPushButton:focus { border: %4px solid %3; padding: 0px; }"
             "QPushButton#Start { color: #000080; }"
             // Lists and file views, but not their headers (item views too).
             "QListView, QTreeView { border: 1px solid %2; padding: %5px; }"
             "QListView:focus, QTreeView:focus { border: %4px solid %3; padding: 0px; }")
      .arg(face, boundary, ring, width, padding);
}

}  // namespace orvane::qt
