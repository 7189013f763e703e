#include "app/menu_commands.hpp"

#include <filesystem>

#include "app/drill_handlers.hpp"
#include "app/learner_settings.hpp"
#include "app/loading.hpp"
#include "app/scan.hpp"
#include "app/speaking_commands.hpp"
#include "app/voice_settings.hpp"

namespace orvane {

void exitProgram(Session& s) {
  s.quitRequested = true;
}

std::string helpFilePath(const std::string& programPath) {
  const std::filesystem::path beside = std::filesystem::path(programPath).replace_extension(".hlp");
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside.string();
  // Installed, it lies with the program's data: /usr/bin/orvane reads
  // /usr/share/orvane/orvane.hlp.
  const std::filesystem::path installed =
      beside.parent_path().parent_path() / "share" / "orvane" / beside.filename();
  return std::filesystem::exists(installed, ec) ? installed.string() : beside.string();
}

void showHelpContents(Session& s) {
  s.platform.showHelp(helpFilePath(s.platform.programPath()));
}

void showVersion(Session& s) {
  showMessage(s, kVersionText);
}

void runClick(Session& s, Control c) {
  if (isWordButton(c)) return placeWord(s, c);
  if (isMarkButton(c)) return placeMark(s, c);
  switch (c) {
    case Control::PlayBack:
      return speakPrompt(s);
    case Control::Start:
      return pressStart(s);
    case Control::Erase:
      return eraseSentence(s);
    case Control::Next:
      return nextQuestion(s);
    case Control::End:
      return endDrill(s);
    case Control::Answer:
      return showAnswer(s);
    default:
      return;  // labels and the speech control have no click
  }
}

void runMenu(Session& s, Menu m) {
  switch (m) {
    case Menu::Open:
      return openQuestionFile(s);
    case Menu::Exit:
      return exitProgram(s);
    case Menu::Replay:
      return speakPrompt(s);
    case Menu::SpellOut:
      return spellOutLastCaption(s);
    case Menu::NextQuestion:
      return nextQuestion(s);
    case Menu::SlowSpeech:
      return toggleSlowSpeech(s);
    case Menu::Settings:
      return editLearnerSettings(s);
    case Menu::VoiceSettings:
      return openVoiceDialog(s);
    case Menu::Score:
      return speakScore(s);
    case Menu::AutoScan:
      return toggleAutoScan(s);
    case Menu::HelpContents:
      return showHelpContents(s);
    case Menu::VoiceCount:
      return showVoiceCount(s);
    case Menu::About:
      return showVersion(s);
    default:
      return;  // menus of the bar and separators run nothing
  }
}

}  // namespace orvane
