#include "app/drill_handlers.hpp"

#include "app/drill_view.hpp"
#include "app/voice_steps.hpp"

namespace orvane {

namespace {
void showAndSay(Session& s, const DrillStep& step) {
  showStep(s, step);
  sayStep(s, step);
}
}  // namespace

void pressStart(Session& s) {
  const DrillStep step = startRevealsWords(s.drill) ? s.drill.reveal() : s.drill.check();
  showAndSay(s, step);
  // A right answer beeps once the sentence has been handed to the voice.
  if (step.checked && step.checked->right) s.platform.beep();
}

void placeWord(Session& s, Control sender) {
  if (const auto word = wordIndexOf(sender)) showStep(s, s.drill.placeWord(*word));
}

void placeMark(Session& s, Control sender) {
  if (const auto mark = markOf(sender)) showStep(s, s.drill.placeMark(*mark));
}

void eraseSentence(Session& s) {
  showStep(s, s.drill.erase());
}

void showAnswer(Session& s) {
  showAndSay(s, s.drill.showAnswer());
}

void nextQuestion(Session& s) {
  showAndSay(s, s.drill.next());
}

void endDrill(Session& s) {
  s.drill.end();
  s.quitRequested = true;
}

}  // namespace orvane
