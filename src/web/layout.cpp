#include "web/layout.hpp"

#include <array>

namespace orvane::web {

namespace {
constexpr std::array kPlaces = {
    Place{Control::PlayBack, 696, 40, 57, 33, 12, false, "button"},
    Place{Control::Start, 640, 376, 97, 73, 27, false, "button navy"},
    Place{Control::Word1, 16, 248, 97, 73, 16, true, "button"},
    Place{Control::Word2, 120, 248, 97, 73, 16, true, "button"},
    Place{Control::Word3, 224, 248, 97, 73, 16, true, "button"},
    Place{Control::Word4, 328, 248, 97, 73, 16, true, "button"},
    Place{Control::Word5, 432, 248, 97, 73, 16, true, "button"},
    Place{Control::Word6, 536, 248, 97, 73, 16, true, "button"},
    Place{Control::Word7, 640, 248, 97, 73, 16, true, "button"},
    Place{Control::Period, 48, 376, 57, 57, 40, true, "button"},
    Place{Control::QuestionMark, 120, 376, 57, 57, 40, true, "button"},
    Place{Control::ExclamationMark, 192, 376, 57, 57, 40, true, "button"},
    Place{Control::Erase, 536, 376, 97, 73, 27, false, "button"},
    Place{Control::Next, 432, 376, 97, 73, 27, false, "button"},
    Place{Control::End, 320, 376, 105, 73, 27, false, "button"},
    Place{Control::Answer, 320, 376, 105, 73, 27, false, "button"},
    // The prompt keeps its width (PlayBack stands beside it); the sentence and the score grow to
    // the right as far as the window goes; the mark is as wide as its text.
    Place{Control::Prompt, 8, 24, 681, 65, 29, true, "label sky middle"},
    Place{Control::Sentence, 56, 128, 665, 73, 32, true, "label light middle grows"},
    Place{Control::Mark, 0, 136, 21, 64, 64, true, "label red sized"},
    Place{Control::Score, 24, 456, 89, 19, 19, true, "label grows"},
};
}  // namespace

std::span<const Place> places() {
  return kPlaces;
}

}  // namespace orvane::web
