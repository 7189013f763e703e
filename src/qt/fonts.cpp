#include "qt/fonts.hpp"

#include <QApplication>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace orvane::qt {

std::thread loadFontConfiguration() {
  // Qt takes fontconfig's current configuration, which this makes.
  return std::thread([] { FcInit(); });
}

void registerFontSubstitutes() {
  QFont::insertSubstitutions(QString::fromUtf8(kDesignFont),
                             {"IPAPGothic", "IPA Pゴシック", "IPAGothic", "Noto Sans CJK JP"});
  // Menus, message boxes and dialogs are in Japanese too: in the desktop's size but the design
  // face, which covers Japanese, so no second face is loaded as a fallback for them.
  QFont font = QApplication::font();
  font.setFamily(QString::fromUtf8(kDesignFont));
  QApplication::setFont(font);
}

QFont designFont(int pixelHeight, bool bold) {
  QFont font(QString::fromUtf8(kDesignFont));
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace orvane::qt
