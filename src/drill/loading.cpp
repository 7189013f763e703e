#include "drill/loading.hpp"

#include <sys/stat.h>

#include "drill/question_record.hpp"
#include "drill/shuffle.hpp"
#include "drill/text.hpp"
#include "speech/voice_steps.hpp"
#include "ui/focus.hpp"

namespace orvane {

namespace {

void resetForLoad(DrillState& d) {
  d.AskedCount = 1;
  d.CorrectCount = 0;
  d.RemainingCount = -1;
  d.LoadedCount = 0;
  d.AnswerText.clear();
  d.AwaitingStart = true;
  d.FirstWordPlaced = false;
}

// Opens `path` on the question file and loads its first record (its marker line is not looked
// at); an empty file is closed again and leaves no question.
void openAndLoadFirst(Session& s, const std::string& path) {
  s.QuestionFile.open(path);
  if (s.QuestionFile.atEnd()) {
    s.QuestionFile.close();
    s.drill.AwaitingStart = false;
  } else {
    s.QuestionFile.readLine();
    read_toi(s);
  }
}
}  // namespace

void fill_buttons(Session& s) {
  for (int k = 2; k <= 8; ++k) {
    const std::string& slot = s.drill.Slots[static_cast<std::size_t>(k)];
    if (slot.empty()) {
      s.form.hide(wordButton(k));
    } else {
      s.form.setCaption(wordButton(k), slot);
    }
  }
}

void read_toi(Session& s) {
  DrillState& d = s.drill;
  const QuestionRecord record = readRecord(s.QuestionFile);
  d.Prompt = record.prompt;
  for (int i = 2; i <= 9; ++i) {
    std::string& slot = d.Slots[static_cast<std::size_t>(i)];
    slot = text::trim(record.slots[static_cast<std::size_t>(i)]);
    if (!slot.empty()) ++d.RemainingCount;
  }
  d.AnswerText = modelAnswer(record);
  ShuffleRandom random(static_cast<std::uint64_t>(s.platform.timeOfDayMs()));
  shuffleSlots(d.Slots, d.RemainingCount, random);
  d.LoadedCount = d.RemainingCount;
  fill_buttons(s);
  s.form.setCaption(Control::Japanease, d.Prompt);
}

bool loadStartFile(Session& s) {
  struct stat st {};
  if (::stat(s.startFilePath.c_str(), &st) != 0) return false;
  openAndLoadFirst(s, s.startFilePath);
  s.form.show(Control::Start);
  s.form.show(Control::Respeech);
  return true;
}

void Open1Click(Session& s) {
  const auto path = s.platform.chooseQuestionFile();
  s.activationPending = true;
  if (!path) return;

  DrillState& d = s.drill;
  resetForLoad(d);
  d.LastSpoken.clear();

  Form& f = s.form;
  f.menu(Menu::N6).enabled = false;
  f.setCaption(Control::Sentence, "");
  f.show(Control::Sentence);
  f.show(Control::Respeech);
  giveFocus(s, Control::Respeech);
  f.show(Control::Start);
  f.setCaption(Control::Start, "Start");
  f.menu(Menu::N4).enabled = true;
  for (Control c : {Control::Erase, Control::score, Control::Next, Control::End_bt}) f.hide(c);
  for (int k = 2; k <= 8; ++k) f.hide(wordButton(k));
  for (Control c : {Control::Button10, Control::Button11, Control::Button12}) f.hide(c);

  try {
    openAndLoadFirst(s, *path);
    selectJapaneseVoice(s);
    s.speech.sayText(f.caption(Control::Japanease));
    f.timer().setInterval(kLoadedScanInterval);
  } catch (const std::exception&) {
    showMessage(s, "ファイルの内容が正しくありません。");
    s.quitRequested = true;
  }
}

}  // namespace orvane
