#include "app/drill_handlers.hpp"

#include "app/focus.hpp"
#include "app/loading.hpp"
#include "app/voice_steps.hpp"
#include "core/text.hpp"
#include "drill/question_record.hpp"

namespace orvane {

namespace {
constexpr const char* kClosingInstruction = "タブキーを押してEnterキーを押すと終わり。";
constexpr Control kMarks[] = {Control::Period, Control::QuestionMark, Control::ExclamationMark};

void hideWordsAndMarks(Form& f) {
  for (int k = 2; k <= 8; ++k) f.hide(wordButton(k));
  for (Control c : kMarks) f.hide(c);
}

void drillOver(Session& s) {
  Form& f = s.form;
  s.drill.awaitingStart = false;
  f.setCaption(Control::Prompt, kClosingInstruction);
  f.hide(Control::Sentence);
  f.menu(Menu::NextQuestion).enabled = false;
  hideWordsAndMarks(f);
  for (Control c : {Control::Start, Control::Erase, Control::Next}) f.hide(c);
  f.show(Control::PlayBack);
  f.show(Control::End);
  giveFocus(s, Control::PlayBack);
}
}  // namespace

std::string scoreText(std::int32_t correct, std::int32_t asked) {
  const std::int64_t percent = asked > 0 ? static_cast<std::int64_t>(correct) * 100 / asked : 0;
  return std::to_string(correct) + "/" + std::to_string(asked) + " " + std::to_string(percent) +
         "%";
}

void pressStart(Session& s) {
  Form& f = s.form;
  DrillState& d = s.drill;
  f.hide(Control::PlayBack);

  if (d.awaitingStart) {
    d.scored = false;
    f.hide(Control::Start);
    f.menu(Menu::SpellOut).enabled = true;
    for (int k = 2; k <= 8; ++k) {
      if (!d.wordSlots[static_cast<std::size_t>(k)].empty()) f.show(wordButton(k));
    }
    for (Control c : kMarks) f.show(c);
    f.timer().setInterval(kPlacingScanInterval);
    return;
  }

  // With no question loaded (an empty file) there is nothing to check.
  if (text::trim(d.answerText).empty()) return;

  f.show(Control::Mark);
  d.builtText = text::trim(f.caption(Control::Sentence));
  d.answerText = text::trim(d.answerText);
  say(s, Voice::English, f.caption(Control::Sentence));
  d.answerText = text::capitaliseFirst(d.answerText);

  if (d.builtText == d.answerText) {
    f.hide(Control::Erase);
    f.show(Control::Next);
    if (!d.scored) ++d.correctCount;
    f.setCaption(Control::Mark, "○");
    s.platform.beep();
  } else {
    f.setCaption(Control::Mark, "×");
    f.show(Control::Answer);
    f.hide(Control::Next);
  }
  if (!d.scored) f.setCaption(Control::Score, scoreText(d.correctCount, d.askedCount));
  d.scored = true;
  f.timer().setInterval(kPlacingScanInterval);
}

void placeWord(Session& s, Control sender) {
  Form& f = s.form;
  DrillState& d = s.drill;
  if (!d.firstWordPlaced) {
    d.firstWordPlaced = true;
    f.show(Control::Erase);
    f.setCaption(sender, text::capitaliseFirst(f.caption(sender)));
  }
  f.setCaption(Control::Sentence, f.caption(Control::Sentence) + " " + f.caption(sender));
  f.hide(sender);
  --d.remainingCount;
}

void placeMark(Session& s, Control sender) {
  Form& f = s.form;
  f.setCaption(Control::Sentence, f.caption(Control::Sentence) + f.caption(sender));
  for (Control c : kMarks) f.hide(c);
  f.show(Control::Erase);
  if (s.drill.remainingCount == 0) {
    f.setCaption(Control::Start, "Speak");
    f.show(Control::Start);
    s.drill.awaitingStart = false;
  }
}

void eraseSentence(Session& s) {
  Form& f = s.form;
  DrillState& d = s.drill;
  d.remainingCount = d.loadedCount;
  f.setCaption(Control::Sentence, "");
  d.firstWordPlaced = false;
  d.lastSpoken.clear();
  for (Control c : {Control::Erase, Control::Start, Control::Next, Control::Mark}) f.hide(c);
  for (int k = 2; k <= 8; ++k) f.show(wordButton(k));
  for (Control c : kMarks) f.show(c);
  fillWordButtons(s);
  f.timer().setInterval(kPlacingScanInterval);
}

void showAnswer(Session& s) {
  Form& f = s.form;
  f.setCaption(Control::Sentence, s.drill.answerText);
  f.setCaption(Control::Mark, "");
  say(s, Voice::English, f.caption(Control::Sentence));
  f.hide(Control::Start);
  f.hide(Control::Erase);
  f.show(Control::Next);
}

void nextQuestion(Session& s) {
  Form& f = s.form;
  DrillState& d = s.drill;
  ++d.askedCount;
  d.remainingCount = -1;
  d.loadedCount = 0;
  d.answerText.clear();
  d.awaitingStart = true;
  d.firstWordPlaced = false;
  d.scored = false;
  d.lastSpoken.clear();

  f.menu(Menu::SpellOut).enabled = false;
  f.show(Control::PlayBack);
  giveFocus(s, Control::PlayBack);
  f.show(Control::Start);
  f.setCaption(Control::Start, "Start");
  for (Control c : {Control::Answer, Control::Erase, Control::Mark, Control::Next}) f.hide(c);
  f.timer().setInterval(kLoadedScanInterval);
  f.setCaption(Control::Sentence, "");
  hideWordsAndMarks(f);

  if (readMarker(s.questionFile) == Marker::Question) {
    readQuestion(s);
  } else {
    drillOver(s);
  }
  say(s, Voice::Japanese, f.caption(Control::Prompt));
}

void endDrill(Session& s) {
  s.questionFile.close();
  s.quitRequested = true;
}

}  // namespace orvane
