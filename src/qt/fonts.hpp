// The window is designed for "ＭＳ Ｐゴシック"; IPAPGothic is its metric twin on Linux.
#pragma once

#include <QFont>

namespace orvane::qt {

inline constexpr const char* kDesignFont = "ＭＳ Ｐゴシック";

// Registers the fall-back once, before any widget is made.
void registerFontSubstitutes();

// The design font at a character height in pixels.
QFont designFont(int pixelHeight, bool bold = false);

}  // namespace orvane::qt
