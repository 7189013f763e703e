#include "app/menu_commands.hpp"

#include <filesystem>

#include "drill/drill_handlers.hpp"
#include "drill/loading.hpp"
#include "speech/speaking_commands.hpp"
#include "speech/voice_settings.hpp"
#include "ui/scan.hpp"

namespace orvane {

void Exit1Click(Session& s) {
  s.quitRequested = true;
}

std::string helpFilePath(const std::string& programPath) {
  return std::filesystem::path(programPath).replace_extension(".hlp").string();
}

void N1Click(Session& s) {
  s.platform.showHelp(helpFilePath(s.platform.programPath()));
}

void About1Click(Session& s) {
  showMessage(s, kVersionText);
}

void runClick(Session& s, Control c) {
  if (isWordButton(c)) return show2_cap(s, c);
  if (isMarkButton(c)) return show_period(s, c);
  switch (c) {
    case Control::Respeech:
      return speak_toi(s);
    case Control::Start:
      return StartClick(s);
    case Control::Erase:
      return EraseClick(s);
    case Control::Next:
      return NextClick(s);
    case Control::End_bt:
      return End_click(s);
    case Control::Answer:
      return AnswerClick(s);
    default:
      return;  // labels and the speech control have no click
  }
}

void runMenu(Session& s, Menu m) {
  switch (m) {
    case Menu::Open1:
      return Open1Click(s);
    case Menu::Exit1:
      return Exit1Click(s);
    case Menu::N3:
      return speak_toi(s);
    case Menu::N6:
      return N6Click(s);
    case Menu::N4:
      return NextClick(s);
    case Menu::N8:
      return N8Click(s);
    case Menu::A2:
      return A2Click(s);
    case Menu::N11:
      return N11Click(s);
    case Menu::N7:
      return N7Click(s);
    case Menu::N1:
      return N1Click(s);
    case Menu::N5:
      return N5Click(s);
    case Menu::About1:
      return About1Click(s);
    default:
      return;  // menus of the bar and separators run nothing
  }
}

}  // namespace orvane
