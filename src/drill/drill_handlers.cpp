#include "drill/drill_handlers.hpp"

#include "drill/loading.hpp"
#include "drill/question_record.hpp"
#include "drill/text.hpp"
#include "speech/voice_steps.hpp"
#include "ui/focus.hpp"

namespace orvane {

namespace {
constexpr const char* kClosingInstruction = "タブキーを押してEnterキーを押すと終わり。";
constexpr Control kMarks[] = {Control::Button10, Control::Button11, Control::Button12};

void hideWordsAndMarks(Form& f) {
  for (int k = 2; k <= 8; ++k) f.hide(wordButton(k));
  for (Control c : kMarks) f.hide(c);
}

void drillOver(Session& s) {
  Form& f = s.form;
  s.drill.AwaitingStart = false;
  f.setCaption(Control::Japanease, kClosingInstruction);
  f.hide(Control::Sentence);
  f.menu(Menu::N4).enabled = false;
  hideWordsAndMarks(f);
  for (Control c : {Control::Start, Control::Erase, Control::Next}) f.hide(c);
  f.show(Control::Respeech);
  f.show(Control::End_bt);
  giveFocus(s, Control::Respeech);
}
}  // namespace

std::string scoreText(std::int32_t correct, std::int32_t asked) {
  const std::int64_t percent = asked > 0 ? static_cast<std::int64_t>(correct) * 100 / asked : 0;
  return std::to_string(correct) + "/" + std::to_string(asked) + " " + std::to_string(percent) +
         "%";
}

void StartClick(Session& s) {
  Form& f = s.form;
  DrillState& d = s.drill;
  f.hide(Control::Respeech);
  s.speech.setCurrentMode(s.voices.EnglishVoiceMode);

  if (d.AwaitingStart) {
    d.Scored = false;
    f.hide(Control::Start);
    f.menu(Menu::N6).enabled = true;
    for (int k = 2; k <= 8; ++k) {
      if (!d.Slots[static_cast<std::size_t>(k)].empty()) f.show(wordButton(k));
    }
    for (Control c : kMarks) f.show(c);
    f.timer().setInterval(kPlacingScanInterval);
    return;
  }

  // With no question loaded (an empty file) there is nothing to check.
  if (text::trim(d.AnswerText).empty()) return;

  f.show(Control::score);
  d.BuiltText = text::trim(f.caption(Control::Sentence));
  d.AnswerText = text::trim(d.AnswerText);
  if (s.voices.SlowMode) s.speech.setSpeed(s.speech.minSpeed());
  s.speech.sayText(f.caption(Control::Sentence));
  d.AnswerText = text::capitaliseFirst(d.AnswerText);

  if (d.BuiltText == d.AnswerText) {
    f.hide(Control::Erase);
    f.show(Control::Next);
    if (!d.Scored) ++d.CorrectCount;
    f.setCaption(Control::score, "○");
    s.platform.beep();
  } else {
    f.setCaption(Control::score, "×");
    f.show(Control::Answer);
    f.hide(Control::Next);
  }
  if (!d.Scored) f.setCaption(Control::Score_Label, scoreText(d.CorrectCount, d.AskedCount));
  d.Scored = true;
  f.timer().setInterval(kPlacingScanInterval);
}

void show2_cap(Session& s, Control sender) {
  Form& f = s.form;
  DrillState& d = s.drill;
  if (!d.FirstWordPlaced) {
    d.FirstWordPlaced = true;
    f.show(Control::Erase);
    f.setCaption(sender, text::capitaliseFirst(f.caption(sender)));
  }
  f.setCaption(Control::Sentence, f.caption(Control::Sentence) + " " + f.caption(sender));
  f.hide(sender);
  --d.RemainingCount;
}

void show_period(Session& s, Control sender) {
  Form& f = s.form;
  f.setCaption(Control::Sentence, f.caption(Control::Sentence) + f.caption(sender));
  for (Control c : kMarks) f.hide(c);
  f.show(Control::Erase);
  if (s.drill.RemainingCount == 0) {
    f.setCaption(Control::Start, "Speak");
    f.show(Control::Start);
    s.drill.AwaitingStart = false;
  }
}

void EraseClick(Session& s) {
  Form& f = s.form;
  DrillState& d = s.drill;
  d.RemainingCount = d.LoadedCount;
  f.setCaption(Control::Sentence, "");
  d.FirstWordPlaced = false;
  d.LastSpoken.clear();
  for (Control c : {Control::Erase, Control::Start, Control::Next, Control::score}) f.hide(c);
  for (int k = 2; k <= 8; ++k) f.show(wordButton(k));
  for (Control c : kMarks) f.show(c);
  fill_buttons(s);
  f.timer().setInterval(kPlacingScanInterval);
}

void AnswerClick(Session& s) {
  Form& f = s.form;
  f.setCaption(Control::Sentence, s.drill.AnswerText);
  f.setCaption(Control::score, "");
  selectEnglishVoice(s);
  s.speech.sayText(f.caption(Control::Sentence));
  f.hide(Control::Start);
  f.hide(Control::Erase);
  f.show(Control::Next);
}

void NextClick(Session& s) {
  Form& f = s.form;
  DrillState& d = s.drill;
  ++d.AskedCount;
  d.RemainingCount = -1;
  d.LoadedCount = 0;
  d.AnswerText.clear();
  d.AwaitingStart = true;
  d.FirstWordPlaced = false;
  d.Scored = false;
  d.LastSpoken.clear();

  f.menu(Menu::N6).enabled = false;
  f.show(Control::Respeech);
  giveFocus(s, Control::Respeech);
  f.show(Control::Start);
  f.setCaption(Control::Start, "Start");
  for (Control c : {Control::Answer, Control::Erase, Control::score, Control::Next}) f.hide(c);
  f.timer().setInterval(kLoadedScanInterval);
  f.setCaption(Control::Sentence, "");
  hideWordsAndMarks(f);

  if (readMarker(s.QuestionFile) == Marker::Question) {
    read_toi(s);
  } else {
    drillOver(s);
  }
  selectJapaneseVoice(s);
  s.speech.sayText(f.caption(Control::Japanease));
}

void End_click(Session& s) {
  s.QuestionFile.close();
  s.quitRequested = true;
}

}  // namespace orvane
