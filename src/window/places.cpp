#include "window/places.hpp"

namespace orvane {

namespace {
constexpr Place kButtons[] = {
    {Control::PlayBack, 696, 40, 57, 33, 12, false},
    {Control::Start, 640, 376, 97, 73, 27, false},
    {Control::Word1, 16, 248, 97, 73, 16, true},
    {Control::Word2, 120, 248, 97, 73, 16, true},
    {Control::Word3, 224, 248, 97, 73, 16, true},
    {Control::Word4, 328, 248, 97, 73, 16, true},
    {Control::Word5, 432, 248, 97, 73, 16, true},
    {Control::Word6, 536, 248, 97, 73, 16, true},
    {Control::Word7, 640, 248, 97, 73, 16, true},
    {Control::Period, 48, 376, 57, 57, 40, true},
    {Control::QuestionMark, 120, 376, 57, 57, 40, true},
    {Control::ExclamationMark, 192, 376, 57, 57, 40, true},
    {Control::Erase, 536, 376, 97, 73, 27, false},
    {Control::Next, 432, 376, 97, 73, 27, false},
    {Control::End, 320, 376, 105, 73, 27, false},
    {Control::Answer, 320, 376, 105, 73, 27, false},
};

constexpr Place kLabels[] = {
    {Control::Prompt, 8, 24, 681, 65, 29, true},
    {Control::Sentence, 56, 128, 665, 73, 32, true},
    {Control::Mark, 0, 136, 21, 64, 64, true},
    {Control::Score, 24, 456, 89, 19, 19, true},
};

constexpr MenuPlace kMenuItems[] = {
    {Menu::Open, Menu::FileMenu},
    {Menu::Exit, Menu::FileMenu},
    {Menu::Replay, Menu::OperationMenu},
    {Menu::SpellOut, Menu::OperationMenu},
    {Menu::NextQuestion, Menu::OperationMenu},
    {Menu::SlowSpeech, Menu::OperationMenu},
    {Menu::VoiceSettings, Menu::OperationMenu},
    {Menu::Settings, Menu::OperationMenu},
    {Menu::Separator1, Menu::OperationMenu},
    {Menu::Score, Menu::OperationMenu},
    {Menu::Separator2, Menu::OperationMenu},
    {Menu::AutoScan, Menu::OperationMenu},
    {Menu::HelpContents, Menu::HelpMenu},
    {Menu::VoiceCount, Menu::HelpMenu},
    {Menu::Separator3, Menu::HelpMenu},
    {Menu::About, Menu::HelpMenu},
};

}  // namespace

std::span<const Place> buttonPlaces() {
  return kButtons;
}

std::span<const Place> labelPlaces() {
  return kLabels;
}

const Place* placeOf(Control c) {
  for (std::span<const Place> all : {buttonPlaces(), labelPlaces()}) {
    for (const Place& p : all) {
      if (p.control == c) return &p;
    }
  }
  return nullptr;
}

std::span<const MenuPlace> menuPlaces() {
  return kMenuItems;
}

}  // namespace orvane
