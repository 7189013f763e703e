#include "app/loading.hpp"

#include <sys/stat.h>

#include "app/focus.hpp"
#include "app/voice_steps.hpp"
#include "core/text.hpp"
#include "drill/question_record.hpp"
#include "drill/shuffle.hpp"

namespace orvane {

namespace {

void resetForLoad(DrillState& d) {
  d.askedCount = 1;
  d.correctCount = 0;
  d.remainingCount = -1;
  d.loadedCount = 0;
  d.answerText.clear();
  d.awaitingStart = true;
  d.firstWordPlaced = false;
}

// Opens `path` on the question file and loads its first record (its marker line is not looked
// at); an empty file is closed again and leaves no question.
void openAndLoadFirst(Session& s, const std::string& path) {
  s.questionFile.open(path);
  if (s.questionFile.atEnd()) {
    s.questionFile.close();
    s.drill.awaitingStart = false;
  } else {
    s.questionFile.readLine();
    readQuestion(s);
  }
}
}  // namespace

void fillWordButtons(Session& s) {
  for (int k = 2; k <= 8; ++k) {
    const std::string& slot = s.drill.wordSlots[static_cast<std::size_t>(k)];
    if (slot.empty()) {
      s.form.hide(wordButton(k));
    } else {
      s.form.setCaption(wordButton(k), slot);
    }
  }
}

void readQuestion(Session& s) {
  DrillState& d = s.drill;
  QuestionRecord record = readRecord(s.questionFile);
  for (int i = 2; i <= 9; ++i) {
    std::string& slot = d.wordSlots[static_cast<std::size_t>(i)];
    slot = text::trim(record.wordSlots[static_cast<std::size_t>(i)]);
    if (!slot.empty()) ++d.remainingCount;
  }
  d.answerText = modelAnswer(record);
  ShuffleRandom random(static_cast<std::uint64_t>(s.platform.timeOfDayMs()));
  shuffleSlots(d.wordSlots, d.remainingCount, random);
  d.loadedCount = d.remainingCount;
  fillWordButtons(s);
  // The prompt's one copy is its caption: a prompt of hundreds of megabytes is held once.
  s.form.setCaption(Control::Prompt, std::move(record.prompt));
}

bool loadStartFile(Session& s) {
  struct stat st {};
  if (::stat(s.startFilePath.c_str(), &st) != 0) return false;
  openAndLoadFirst(s, s.startFilePath);
  s.form.show(Control::Start);
  s.form.show(Control::PlayBack);
  return true;
}

void openQuestionFile(Session& s) {
  const auto path = s.platform.chooseQuestionFile();
  s.activationPending = true;
  if (!path) return;

  DrillState& d = s.drill;
  resetForLoad(d);
  d.lastSpoken.clear();

  Form& f = s.form;
  f.menu(Menu::SpellOut).enabled = false;
  f.setCaption(Control::Sentence, "");
  f.show(Control::Sentence);
  f.show(Control::PlayBack);
  giveFocus(s, Control::PlayBack);
  f.show(Control::Start);
  f.setCaption(Control::Start, "Start");
  f.menu(Menu::NextQuestion).enabled = true;
  for (Control c : {Control::Erase, Control::Mark, Control::Next, Control::End}) f.hide(c);
  for (int k = 2; k <= 8; ++k) f.hide(wordButton(k));
  for (Control c : {Control::Period, Control::QuestionMark, Control::ExclamationMark}) f.hide(c);

  try {
    openAndLoadFirst(s, *path);
    say(s, Voice::Japanese, f.caption(Control::Prompt));
    f.timer().setInterval(kLoadedScanInterval);
  } catch (const std::exception&) {
    showMessage(s, "ファイルの内容が正しくありません。");
    s.quitRequested = true;
  }
}

}  // namespace orvane
