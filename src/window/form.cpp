#include "window/form.hpp"

namespace orvane {

namespace {
constexpr std::array<std::string_view, kControlCount> kControlNames = {
    "DirectSS1", "Respeech", "Start",   "Button2",   "Button3",  "Button4",  "Button5",
    "Button6",   "Button7",  "Button8", "Button10",  "Button11", "Button12", "Erase",
    "Next",      "End_bt",   "Answer",  "Japanease", "Sentence", "score",    "Score_Label",
};

constexpr std::array<std::string_view, kMenuCount> kMenuNames = {
    "File1", "Open1", "Exit1", "O1",    "N3", "N6", "N4", "N8",     "A2",        "N9",
    "N11",   "N10",   "N7",    "Help1", "N1", "N5", "N2", "About1", "Settings1",
};

template <class E, std::size_t N>
std::optional<E> byName(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return static_cast<E>(i);
  }
  return std::nullopt;
}
}  // namespace

std::string_view controlName(Control c) {
  return kControlNames[static_cast<std::size_t>(c)];
}
std::optional<Control> controlByName(std::string_view name) {
  return byName<Control>(kControlNames, name);
}
std::string_view menuName(Menu m) {
  return kMenuNames[static_cast<std::size_t>(m)];
}
std::optional<Menu> menuByName(std::string_view name) {
  return byName<Menu>(kMenuNames, name);
}

CaptionText::CaptionText(std::string text) {
  if (!text.empty()) text_ = std::make_shared<const std::string>(std::move(text));
}

const std::string& CaptionText::str() const {
  static const std::string empty;
  return text_ ? *text_ : empty;
}

Control wordButtonAt(std::size_t i) {
  return static_cast<Control>(static_cast<std::size_t>(Control::Word1) + i);
}
std::optional<std::size_t> wordIndexOf(Control c) {
  if (!isWordButton(c)) return std::nullopt;
  return static_cast<std::size_t>(c) - static_cast<std::size_t>(Control::Word1);
}
Control wordButton(int slot) {
  return wordButtonAt(static_cast<std::size_t>(slot - 2));
}
bool isWordButton(Control c) {
  return c >= Control::Word1 && c <= Control::Word7;
}
bool isMarkButton(Control c) {
  return c >= Control::Period && c <= Control::ExclamationMark;
}
bool isButton(Control c) {
  return c >= Control::PlayBack && c <= Control::Answer;
}

void ScanTimer::setEnabled(bool on) {
  if (on && !enabled_) restartCount();
  enabled_ = on;
}

void ScanTimer::setInterval(std::int32_t ms) {
  designed_ = ms;
  const auto paced = static_cast<std::int32_t>(static_cast<std::int64_t>(ms) * percent_ / 100);
  if (paced == interval_) return;
  interval_ = paced;
  restartCount();
}

void ScanTimer::setPacePercent(std::int32_t percent) {
  percent_ = percent;
  setInterval(designed_);
}

std::int64_t ScanTimer::dueIn() const {
  const std::int64_t left = static_cast<std::int64_t>(interval_) - elapsed_;
  return left > 0 ? left : 0;
}

void ScanTimer::restartCount() {
  elapsed_ = 0;
  ++generation_;
}

Form::Form() {
  auto set = [&](Control c, std::string caption) { controls_[index(c)].caption = caption; };
  set(Control::PlayBack, "PlayBack");
  set(Control::Start, "Start");
  set(Control::Period, ".");
  set(Control::QuestionMark, "?");
  set(Control::ExclamationMark, "!");
  set(Control::Erase, "Erase");
  set(Control::Next, "Next");
  set(Control::End, "End");
  set(Control::Answer, "Answer");
  for (Control label : {Control::Prompt, Control::Sentence, Control::Score}) {
    controls_[index(label)].visible = true;
  }

  auto item = [&](Menu m, std::string caption, char shortcut = 0) {
    menus_[index(m)].caption = caption;
    menus_[index(m)].shortcut = shortcut;
  };
  item(Menu::FileMenu, "ファイル(&F)");
  item(Menu::Open, "開く(&O)...");
  item(Menu::Exit, "終了(&X)");
  item(Menu::OperationMenu, "操作(&O)");
  item(Menu::Replay, "再生(&R)", 'R');
  item(Menu::SpellOut, "アルファベット読み(&W)", 'W');
  item(Menu::NextQuestion, "次の問い(&N)");
  item(Menu::SlowSpeech, "ゆっくり話す(&L)", 'S');
  item(Menu::VoiceSettings, "音声設定(&A)...");
  item(Menu::Settings, "設定(&P)...");
  item(Menu::Separator1, "-");
  item(Menu::Score, "正答率(&K)");
  item(Menu::Separator2, "-");
  item(Menu::AutoScan, "自動スキャン(&S)");
  item(Menu::HelpMenu, "ヘルプ(&H)");
  item(Menu::HelpContents, "目次(&C)");
  item(Menu::VoiceCount, "声の種類数(&N)");
  item(Menu::Separator3, "-");
  item(Menu::About, "バージョン情報(&A)...");
  menus_[index(Menu::SpellOut)].enabled = false;
}

void Form::hide(Control c) {
  controls_[index(c)].visible = false;
  if (active_ == c) active_.reset();
}

std::optional<Control> Form::searchFocus(bool forward) const {
  const int n = static_cast<int>(kTabStopCount);
  int start;
  if (active_) {
    start = static_cast<int>(*active_);
  } else {
    start = forward ? -1 : n;
  }
  for (int step = 1; step <= n; ++step) {
    int i = forward ? start + step : start - step;
    i = ((i % n) + n) % n;
    const auto c = static_cast<Control>(i);
    if (isButton(c) && visible(c)) return c;
  }
  return std::nullopt;
}

}  // namespace orvane
