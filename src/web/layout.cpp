#include "web/layout.hpp"

namespace orvane::web {

std::string_view lookOf(Control c) {
  switch (c) {
    case Control::Start:
      return "button navy";
    // The prompt keeps its width (PlayBack stands beside it); the sentence and the score grow to
    // the right as far as the window goes; the mark is as wide as its text.
    case Control::Prompt:
      return "label sky middle";
    case Control::Sentence:
      return "label light middle grows";
    case Control::Mark:
      return "label red sized";
    case Control::Score:
      return "label grows";
    default:
      return "button";
  }
}

std::vector<Place> places() {
  std::vector<Place> all(buttonPlaces().begin(), buttonPlaces().end());
  all.insert(all.end(), labelPlaces().begin(), labelPlaces().end());
  return all;
}

}  // namespace orvane::web
