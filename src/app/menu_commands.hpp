// The menu commands of the window itself (exit, help, version box), and the tables that bind
// every button and menu item to its handler.
#pragma once

#include "app/session.hpp"

namespace orvane {

inline constexpr const char* kVersionText =
    "Orvaneソフト Ver1.0\r\r"
    "\t企画・開発: Orvane チーム\r"
    "\t音声合成: Flite (英語), eSpeak NG (日本語ほか), 読み: MeCab + IPAdic\r"
    "\t画面: Qt 6";

void exitProgram(Session& s);
void showHelpContents(Session& s);
void showVersion(Session& s);

// The help file: the program's own path with its extension replaced by ".hlp" where there is
// one (a build), else that name under share/orvane/ beside the program's folder (installed);
// the first when neither is there, so the missing file is named.
std::string helpFilePath(const std::string& programPath);

// Runs the click handler of a button, or the handler of a menu item.
void runClick(Session& s, Control c);
void runMenu(Session& s, Menu m);

}  // namespace orvane
