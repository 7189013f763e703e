#include "qt/fonts.hpp"

#include <QStringList>

namespace orvane::qt {

void registerFontSubstitutes() {
  QFont::insertSubstitutions(QString::fromUtf8(kDesignFont),
                             {"IPAPGothic", "IPA Pゴシック", "IPAGothic", "Noto Sans CJK JP"});
}

QFont designFont(int pixelHeight, bool bold) {
  QFont font(QString::fromUtf8(kDesignFont));
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace orvane::qt
