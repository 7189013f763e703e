#include "app/drill_view.hpp"

#include <utility>

#include "app/focus.hpp"
#include "core/text.hpp"

namespace orvane {

namespace {

constexpr std::pair<Control, char> kMarkButtons[] = {
    {Control::Period, '.'}, {Control::QuestionMark, '?'}, {Control::ExclamationMark, '!'}};
static_assert(kWordButtonCount == Drill::kMaxWords, "one word button for every word");

void showIf(Form& f, Control c, bool shown) {
  shown ? f.show(c) : f.hide(c);
}

// Rule, for every control: a hidden control keeps the caption it last had, as scripts read it with
// "show". So the captions below change only where the drill gives them something to show.

// ---- What follows the drill wherever it stands ----

// Rule: a word button shows its word while the word is on offer. The first word placed keeps its
// capital on its own button (hidden, as a script reads it) until Erase or the next question gives
// the word back as the file has it. A button with no word keeps its last caption, hidden.
void showWords(Form& f, const Drill& d) {
  const std::vector<std::size_t>& placed = d.placed();
  for (std::size_t i = 0; i < Drill::kMaxWords; ++i) {
    const Control button = wordButtonAt(i);
    const std::string& word = d.words()[i];
    if (!word.empty()) {
      const bool first = !placed.empty() && placed.front() == i;
      f.setCaption(button, first ? text::capitaliseFirst(word) : word);
    }
    showIf(f, button, d.wordOnOffer(i));
  }
  for (const auto& [button, mark] : kMarkButtons) showIf(f, button, d.marksOnOffer());
}

void followDrill(Form& f, const Drill& d) {
  showWords(f, d);
  f.setCaption(Control::Prompt, d.sharedPrompt());
  f.setCaption(Control::Sentence, d.sentence());
  // Rule: the sentence line goes when the drill is over and comes back with the next file.
  showIf(f, Control::Sentence, d.phase() != Phase::Over);
  showIf(f, Control::End, d.phase() == Phase::Over);
  // Rule: the score label shows the score as last reported, so after File > Open it keeps the
  // previous file's score until the new file's first check.
  f.setCaption(Control::Score, d.reportedScoreText());
  // Rule: the spell-out is offered from the moment the words are, until the next question.
  f.menu(Menu::SpellOut).enabled = d.wordsRevealed();
  f.menu(Menu::NextQuestion).enabled = d.phase() != Phase::Over;
}

// ---- What each step shows and hides ----
//
// Rule: PlayBack comes with every new question or file and goes at the first press of Start,
// whatever Start then does (or as soon as the focus leaves it: app/focus).
// Rule: the scan's pace is set where the drill changes phase, whether the scan is on or not:
// slower after a new prompt, faster while words are placed and checked. The timer restarts its
// count only when the interval changes (window/form).

enum class Arrival { StartUp, Opened, Next };

void showNewQuestion(Session& s, Arrival how) {
  Form& f = s.form;
  s.lastSpoken.clear();
  // The results record counts the seconds a question took from here.
  s.questionShownAtMs = s.platform.localTimeMs();
  f.show(Control::PlayBack);
  // Rule: PlayBack takes the focus before the prompt is spoken, silently; at start-up the
  // window's first activation gives the focus instead.
  if (how != Arrival::StartUp) giveFocus(s, Control::PlayBack);
  f.setCaption(Control::Start, "Start");
  showIf(f, Control::Start, s.drill.phase() != Phase::Over);
  for (Control c : {Control::Erase, Control::Mark, Control::Next}) f.hide(c);
  // Rule: File > Open leaves Answer as it was: a shown Answer stays, and shows the new question's
  // answer as the file has it. The next question hides it.
  if (how == Arrival::Next) f.hide(Control::Answer);
  // Rule: start-up keeps the window's designed interval until the first step that sets one.
  if (how != Arrival::StartUp) f.timer().setInterval(kLoadedScanInterval);
}

void showCheck(Form& f, const CheckedAttempt& a) {
  f.show(Control::Mark);
  if (a.right) {
    f.hide(Control::Erase);
    f.show(Control::Next);
    f.setCaption(Control::Mark, "○");
  } else {
    f.setCaption(Control::Mark, "×");
    f.show(Control::Answer);
    f.hide(Control::Next);
  }
  // Rule: Start stays on show as "Speak" after a check: the sentence can be heard and checked
  // again, without counting.
  f.timer().setInterval(kPlacingScanInterval);
}

void showChange(Session& s, const DrillStep& step) {
  Form& f = s.form;
  const Drill& d = s.drill;
  switch (step.change) {
    case Change::FileOpened:
      return showNewQuestion(s, Arrival::Opened);
    case Change::NextQuestion:
      return showNewQuestion(s, Arrival::Next);
    case Change::WordsRevealed:
      f.hide(Control::PlayBack);
      f.hide(Control::Start);
      f.timer().setInterval(kPlacingScanInterval);
      return;
    case Change::NothingToCheck:
      f.hide(Control::PlayBack);
      return;
    case Change::Checked:
      f.hide(Control::PlayBack);
      return showCheck(f, *step.checked);
    case Change::WordPlaced:
      // Rule: Erase comes with the first word of an attempt, and with any closing mark.
      if (d.placed().size() == 1) f.show(Control::Erase);
      return;
    case Change::MarkPlaced:
      f.show(Control::Erase);
      // Rule: a mark given while words are left leaves Start hidden; only Erase leads on.
      if (d.phase() == Phase::SentenceClosed) {
        f.setCaption(Control::Start, "Speak");
        f.show(Control::Start);
      }
      return;
    case Change::Erased:
      s.lastSpoken.clear();
      // Rule: Start keeps its caption, hidden, and Answer stays on show after a wrong check.
      for (Control c : {Control::Erase, Control::Start, Control::Next, Control::Mark}) f.hide(c);
      // Rule: words kept from a wrong check (keep_right_words) keep Erase on show with them.
      if (!d.placed().empty()) f.show(Control::Erase);
      f.timer().setInterval(kPlacingScanInterval);
      return;
    case Change::AnswerShown:
      // Rule: the mark is emptied but stays in place; words still on offer stay on show.
      f.setCaption(Control::Mark, "");
      f.hide(Control::Start);
      f.hide(Control::Erase);
      f.show(Control::Next);
      return;
    case Change::Nothing:
    case Change::Ended:
      return;
  }
}

}  // namespace

void showStep(Session& s, const DrillStep& step) {
  if (step.change == Change::Nothing || step.change == Change::Ended) return;
  showChange(s, step);
  followDrill(s.form, s.drill);
}

void showStartFile(Session& s, const DrillStep& step) {
  if (step.change != Change::FileOpened) return;
  showNewQuestion(s, Arrival::StartUp);
  followDrill(s.form, s.drill);
}

bool startRevealsWords(const Drill& d) {
  return d.phase() == Phase::QuestionShown;
}

std::optional<char> markOf(Control c) {
  for (const auto& [button, mark] : kMarkButtons) {
    if (button == c) return mark;
  }
  return std::nullopt;
}

}  // namespace orvane
