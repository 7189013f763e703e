#include "qt/fonts.hpp"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace orvane::qt {

namespace {
// The faces that stand in for the design face, the likeliest first.
const QStringList& standIns() {
  static const QStringList faces = {"IPAPGothic", "IPA Pゴシック", "IPAGothic", "Noto Sans CJK JP"};
  return faces;
}
}  // namespace

std::thread loadFontConfiguration() {
  // Qt takes fontconfig's current configuration, which this makes.
  return std::thread([] { FcInit(); });
}

QString designFamily() {
  static const QString family = [] {
    const QString design = QString::fromUtf8(kDesignFont);
    if (QFontDatabase::hasFamily(design)) return design;
    for (const QString& face : standIns()) {
      if (QFontDatabase::hasFamily(face)) return face;
    }
    return design;  // none is installed: Qt's own fall-back finds a face
  }();
  return family;
}

void registerFontSubstitutes() {
  // For any text that names the design face itself.
  QFont::insertSubstitutions(QString::fromUtf8(kDesignFont), standIns());
  // Menus, message boxes and dialogs are in Japanese too: in the desktop's size but the design
  // face, which covers Japanese, so no second face is loaded as a fallback for them.
  QFont font = QApplication::font();
  font.setFamily(designFamily());
  QApplication::setFont(font);
}

QFont designFont(int pixelHeight, bool bold) {
  QFont font(designFamily());
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace orvane::qt
