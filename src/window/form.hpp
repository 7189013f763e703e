// window/: the window's model, with no toolkit: controls and menu items by their object names,
// captions, the tab order and the scan timer. Stands on core/ only.
//
// A plain model of the main window: every control and menu item by its form name with its
// caption and state, the tab order, the active control and the scan timer. Views mirror it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Controls in tab order; the labels follow and never take the focus.
enum class Control {
  RestingPlace,
  PlayBack,
  Start,
  Word1,
  Word2,
  Word3,
  Word4,
  Word5,
  Word6,
  Word7,
  Period,
  QuestionMark,
  ExclamationMark,
  Erase,
  Next,
  End,
  Answer,
  Prompt,
  Sentence,
  Mark,
  Score,
};
inline constexpr std::size_t kControlCount = 21;
inline constexpr std::size_t kTabStopCount = 17;  // RestingPlace .. Answer

enum class Menu {
  FileMenu,
  Open,
  Exit,
  OperationMenu,
  Replay,
  SpellOut,
  NextQuestion,
  SlowSpeech,
  VoiceSettings,
  Separator1,
  Score,
  Separator2,
  AutoScan,
  HelpMenu,
  HelpContents,
  VoiceCount,
  Separator3,
  About,
  Settings,  // in the operation menu, after the voice settings
};
inline constexpr std::size_t kMenuCount = 19;

// A control's caption. Its text may be shared with whoever else holds it: a prompt, which may run
// to hundreds of megabytes, is held once by the drill and by its label. It reads as its text.
class CaptionText {
 public:
  CaptionText() = default;
  CaptionText(std::string text);
  CaptionText(const char* text) : CaptionText(std::string(text)) {}
  CaptionText(std::shared_ptr<const std::string> text) : text_(std::move(text)) {}

  const std::string& str() const;
  operator const std::string&() const { return str(); }
  operator std::string_view() const { return str(); }

 private:
  std::shared_ptr<const std::string> text_;  // none for the empty caption
};

struct ControlState {
  CaptionText caption;
  bool visible = false;
  bool enabled = true;
};

struct MenuState {
  std::string caption;
  char shortcut = 0;  // Ctrl + this letter, or 0
  bool enabled = true;
  bool checked = false;
};

std::string_view controlName(Control c);
std::optional<Control> controlByName(std::string_view name);
std::string_view menuName(Menu m);
std::optional<Menu> menuByName(std::string_view name);

inline constexpr std::size_t kWordButtonCount = 7;
// The word button of word i (0..6), as the drill counts its words.
Control wordButtonAt(std::size_t i);
// The word (0..6) a word button stands for; none for another control.
std::optional<std::size_t> wordIndexOf(Control c);
// The word button of slot k (2..8), as a record's lines number them.
Control wordButton(int slot);
bool isWordButton(Control c);
bool isMarkButton(Control c);
bool isButton(Control c);  // a tab stop that can take the focus when visible

// The scan's pace at each phase of the drill: slower after a new prompt, faster while placing.
inline constexpr std::int32_t kLoadedScanInterval = 6000;
inline constexpr std::int32_t kPlacingScanInterval = 4000;

// The auto-scan timer. Its count restarts whenever it is switched on or its interval changes.
class ScanTimer {
 public:
  bool enabled() const { return enabled_; }
  std::int32_t interval() const { return interval_; }
  // Bumped on every restart of the count, so a view can restart its own clock.
  std::uint64_t generation() const { return generation_; }

  void setEnabled(bool on);
  // `ms` is the designed interval; the timer holds it at the pace in force.
  void setInterval(std::int32_t ms);
  // Every interval, the one held now included, becomes this many percent of its designed length
  // (a slower or faster scan for each learner).
  void setPacePercent(std::int32_t percent);
  // Simulated time: adds `ms` to the count without firing.
  void advance(std::int64_t ms) { elapsed_ += ms; }
  // Time left until the next tick is due.
  std::int64_t dueIn() const;
  void restartCount();

 private:
  bool enabled_ = false;
  std::int32_t designed_ = 4500;
  std::int32_t percent_ = 100;
  std::int32_t interval_ = 4500;
  std::int64_t elapsed_ = 0;
  std::uint64_t generation_ = 0;
};

class Form {
 public:
  Form();

  const ControlState& control(Control c) const { return controls_[index(c)]; }
  const MenuState& menu(Menu m) const { return menus_[index(m)]; }
  MenuState& menu(Menu m) { return menus_[index(m)]; }

  const std::string& caption(Control c) const { return control(c).caption; }
  void setCaption(Control c, CaptionText text) { controls_[index(c)].caption = std::move(text); }
  bool visible(Control c) const { return control(c).visible; }
  void show(Control c) { controls_[index(c)].visible = true; }
  // Hiding the focused button leaves the window without an active control.
  void hide(Control c);

  std::optional<Control> active() const { return active_; }
  // Only the focus rules (app/focus) move the focus; they keep the events in order.
  void setActive(std::optional<Control> c) { active_ = c; }

  // The tab-order search of one step: the first visible button after the active control (or from
  // the start/end when there is none), wrapping around. Returns the active control itself when
  // the search comes back to it, and nothing when no button is visible.
  std::optional<Control> searchFocus(bool forward) const;

  ScanTimer& timer() { return timer_; }
  const ScanTimer& timer() const { return timer_; }

 private:
  template <class E>
  static std::size_t index(E e) {
    return static_cast<std::size_t>(e);
  }

  std::array<ControlState, kControlCount> controls_;
  std::array<MenuState, kMenuCount> menus_;
  std::optional<Control> active_;
  ScanTimer timer_;
};

}  // namespace orvane
