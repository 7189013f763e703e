#include "app/drill_handlers.hpp"

#include "app/drill_view.hpp"
#include "app/results_record.hpp"
#include "app/voice_steps.hpp"

namespace orvane {

namespace {
void showAndSay(Session& s, const DrillStep& step) {
  showStep(s, step);
  sayStep(s, step);
}

// For a learner who cannot see the mark or the score label, settings.ini's speak_verdict says
// them: after the sentence, and after the closing instruction.
void sayVerdict(Session& s, const CheckedAttempt& a) {
  if (s.settings.values.speakVerdict)
    say(s, Voice::Japanese, a.right ? kRightVerdict : kWrongVerdict);
}

void sayFinalScore(Session& s) {
  if (!s.settings.values.speakVerdict || s.drill.phase() != Phase::Over) return;
  const std::string score = s.drill.reportedScoreText();
  if (!score.empty()) say(s, Voice::Japanese, score);
}
}  // namespace

void pressStart(Session& s) {
  const DrillStep step = startRevealsWords(s.drill) ? s.drill.reveal() : s.drill.check();
  showAndSay(s, step);
  if (step.checked) {
    sayVerdict(s, *step.checked);
    recordAttempt(s, *step.checked);
  }
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
  const DrillStep step = s.drill.showAnswer();
  showAndSay(s, step);
  if (step.closed) recordAttempt(s, *step.closed);
}

void nextQuestion(Session& s) {
  const DrillStep step = s.drill.next();
  // The question left is recorded before the next one's clock starts.
  if (step.closed) recordAttempt(s, *step.closed);
  showAndSay(s, step);
  if (step.change == Change::NextQuestion) sayFinalScore(s);
}

void endDrill(Session& s) {
  s.drill.end();
  s.quitRequested = true;
}

}  // namespace orvane
