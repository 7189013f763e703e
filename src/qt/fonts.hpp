// The window is designed for "ＭＳ Ｐゴシック"; IPAPGothic is its metric twin on Linux.
#pragma once

#include <QFont>
#include <QString>
#include <thread>

namespace orvane::qt {

inline constexpr const char* kDesignFont = "ＭＳ Ｐゴシック";

// Loads the system's font configuration (fontconfig's settings and caches) on a thread of its
// own while Qt starts; the first text laid out would otherwise wait for it. Join the thread
// before the first widget is made.
std::thread loadFontConfiguration();

// The face the window is drawn in: the design face where it is installed, else the first of its
// stand-ins that is. Fonts ask for it by the installed name: a face that is not installed makes
// Qt search for fall-backs (a fontconfig sort for each size and weight), a few milliseconds
// of start-up.
QString designFamily();

// Registers the stand-ins once, before any widget is made, and makes the design face the
// program's default.
void registerFontSubstitutes();

// The design font at a character height in pixels.
QFont designFont(int pixelHeight, bool bold = false);

}  // namespace orvane::qt
