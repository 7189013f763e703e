// Start-up of the main window: the drill's starting values, speech.ini, toi.dat and the first
// prompt. Any failure shows the settings message and asks the program to end.
#pragma once

#include "app/session.hpp"

namespace orvane {

inline constexpr const char* kStartupFailureMessage =
    "speech.iniファイルがないか、\rファイルの内容が正しくありません。";

void startUpForm(Session& s);

}  // namespace orvane
