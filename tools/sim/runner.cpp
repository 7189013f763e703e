#include "sim/runner.hpp"

#include <istream>
#include <memory>
#include <optional>

#include "app/dispatcher.hpp"
#include "app/scan.hpp"
#include "app/session.hpp"
#include "app/transcript.hpp"
#include "sim/recording_speech.hpp"

namespace orvane::sim {

namespace {

class ScriptedPlatform : public Platform {
 public:
  ScriptedPlatform(std::ostream& out, std::string programPath)
      : out_(out), programPath_(std::move(programPath)) {}

  void messageBox(const std::string& text) override { out_ << transcript::message(text) << '\n'; }
  void errorBox(const std::string& text) override { out_ << transcript::error(text) << '\n'; }
  void beep() override { out_ << "beep\n"; }
  std::optional<std::string> chooseQuestionFile() override { return nextFileAnswer; }
  void voiceDialogOpened() override {}
  void voiceDialogClosed() override {}
  void showHelp(const std::string& path) override { out_ << transcript::help(path) << '\n'; }
  void focusMoved(Control c) override { out_ << transcript::focus(c) << '\n'; }
  std::string programPath() override { return programPath_; }
  Modifiers heldModifiers() override { return {}; }
  std::int64_t timeOfDayMs() override { return clockMs % 86'400'000; }
  // The results record's clock starts at 2000-01-01T00:00:00 and moves with the script's waits.
  std::int64_t localTimeMs() override { return 946'684'800'000 + clockMs; }

  std::optional<std::string> nextFileAnswer;
  std::int64_t clockMs = 0;

 private:
  std::ostream& out_;
  std::string programPath_;
};

std::optional<KeyStroke> parseKey(std::string_view name) {
  KeyStroke k{Key::Tab, {}, true, false};
  for (;;) {
    if (name.rfind("Shift+", 0) == 0) {
      k.modifiers.shift = true;
      name.remove_prefix(6);
    } else if (name.rfind("Ctrl+", 0) == 0) {
      k.modifiers.ctrl = true;
      name.remove_prefix(5);
    } else if (name.rfind("Alt+", 0) == 0) {
      k.modifiers.alt = true;
      name.remove_prefix(4);
    } else {
      break;
    }
  }
  static constexpr std::pair<std::string_view, Key> kKeys[] = {
      {"Tab", Key::Tab},     {"Enter", Key::Enter}, {"Space", Key::Space}, {"Left", Key::Left},
      {"Right", Key::Right}, {"Up", Key::Up},       {"Down", Key::Down},   {"R", Key::R},
      {"W", Key::W},         {"S", Key::S},         {"E", Key::E},
  };
  for (const auto& [n, key] : kKeys) {
    if (n == name) {
      k.key = key;
      return k;
    }
  }
  return std::nullopt;
}

const char* flag(bool b) {
  return b ? "1" : "0";
}

class Runner {
 public:
  static constexpr std::size_t kMaxVoiceModes = 1000;
  static constexpr std::size_t kMaxVoiceTitleBytes = 256;

  Runner(std::ostream& out, const std::string& programPath)
      : out_(out), platform_(out, programPath) {}

  RunResult run(const std::vector<Command>& script) {
    RunResult result;
    for (const Command& c : script) {
      if (!perform(c, result)) break;
    }
    return result;
  }

  // Reads and runs one line at a time, so a script of any length runs in the same memory; a
  // line is kept up to kMaxLineBytes, and a longer one can only be a comment.
  RunResult run(std::istream& in) {
    RunResult result;
    std::string line;
    bool tooLong = false;
    for (std::size_t number = 1; readLine(in, line, tooLong); ++number) {
      if (tooLong && !isComment(line)) {
        return {false, number, "a line longer than " + std::to_string(kMaxLineBytes) + " bytes"};
      }
      std::optional<ParseError> error;
      const auto c = parseLine(line, number, error);
      if (error) return {false, error->line, error->message};
      if (c && !perform(*c, result)) break;
    }
    return result;
  }

 private:
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  // Reads up to the next line feed, keeping at most kMaxLineBytes of the line. False at the end.
  static bool readLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (int c; (c = buffer->sbumpc()) != std::char_traits<char>::eof();) {
      any = true;
      if (c == '\n') return true;
      if (line.size() < kMaxLineBytes) {
        line += static_cast<char>(c);
      } else {
        tooLong = true;
      }
    }
    return any;
  }

  static bool isComment(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    return first != std::string_view::npos && line[first] == '#';
  }

  // Runs one command; false when the run stops there, on a problem or with the program ended.
  bool perform(const Command& c, RunResult& result) {
    if (std::string problem = step(c); !problem.empty()) {
      result = {false, c.line, std::move(problem)};
      return false;
    }
    if (dispatcher_ && dispatcher_->finished()) {
      out_ << "exit\n";
      return false;
    }
    return true;
  }

  // Returns a message when the command cannot stand where it is.
  std::string step(const Command& c) {
    const bool setup = c.op == Op::Voice || c.op == Op::Rate || c.op == Op::LastError;
    if (setup) {
      if (session_) return "'" + c.text + "' must come before start";
      if (c.op == Op::Voice) {
        // The voices are kept until the end: a bound on them keeps a script of any length in
        // the same memory.
        if (modes_.size() >= kMaxVoiceModes) {
          return "more than " + std::to_string(kMaxVoiceModes) + " voice modes";
        }
        if (c.arg.size() > kMaxVoiceTitleBytes) {
          return "a voice title longer than " + std::to_string(kMaxVoiceTitleBytes) + " bytes";
        }
        modes_.push_back({static_cast<std::int32_t>(c.a), c.arg});
      }
      if (c.op == Op::Rate)
        speed_ = static_cast<std::int32_t>(c.a), minSpeed_ = static_cast<std::int32_t>(c.b);
      if (c.op == Op::LastError) lastError_ = static_cast<std::int32_t>(c.a);
      return {};
    }
    if (c.op == Op::Start) {
      if (session_) return "the program has started already";
      begin(c.arg);
      return {};
    }
    if (!session_) return "'" + c.text + "' needs the program started first";
    return act(c);
  }

  void begin(const std::string& startFile) {
    if (modes_.empty()) modes_ = {{1041, "Japanese"}, {1033, "English"}};
    speech_ = std::make_unique<RecordingSpeech>(modes_, speed_, minSpeed_, lastError_);
    speech_->setClock(&platform_.clockMs);
    speech_->onSay([this](const Utterance& u) {
      transcript::writeSay(out_, u);
      out_ << '\n';
    });
    session_ = std::make_unique<Session>(*speech_, platform_);
    dispatcher_ = std::make_unique<Dispatcher>(*session_);
    if (!startFile.empty()) {
      session_->startFilePath = startFile;
      session_->startFileGiven = true;
    }
    dispatcher_->startUp();
  }

  void refuse(const Command& c) { out_ << "refused " << c.text << '\n'; }

  bool clickable(Control c) const {
    const Form& f = session_->form;
    return isButton(c) && f.visible(c) && f.control(c).enabled && !session_->dialog.open;
  }

  std::string act(const Command& c) {
    Session& s = *session_;
    Dispatcher& d = *dispatcher_;
    switch (c.op) {
      case Op::Click: {
        const auto control = controlByName(c.arg);
        if (!control) return "no control named '" + c.arg + "'";
        if (!clickable(*control)) return refuse(c), std::string();
        d.click(*control);
        return {};
      }
      case Op::ClickWord: {
        for (std::size_t i = 0; i < kWordButtonCount; ++i) {
          const Control b = wordButtonAt(i);
          if (s.form.visible(b) && s.form.caption(b) == c.arg && clickable(b)) {
            d.click(b);
            return {};
          }
        }
        refuse(c);
        return {};
      }
      case Op::Key: {
        // "key Enter repeat": an automatic repeat of a held key.
        constexpr std::string_view kRepeat = " repeat";
        const bool repeat = c.arg.ends_with(kRepeat);
        auto k = parseKey(repeat ? c.arg.substr(0, c.arg.size() - kRepeat.size()) : c.arg);
        if (k) k->repeat = repeat;
        if (!k) return "no key named '" + c.arg + "'";
        d.key(*k);
        // The key-up reaches the window too, and does nothing.
        return {};
      }
      case Op::Menu: {
        const auto m = menuByName(c.arg);
        if (!m) return "no menu item named '" + c.arg + "'";
        if (*m == Menu::Open) return "File > Open is 'open PATH' or 'open cancel'";
        const MenuState& item = s.form.menu(*m);
        const bool runnable = item.caption != "-" && *m != Menu::FileMenu &&
                              *m != Menu::OperationMenu && *m != Menu::HelpMenu;
        if (!runnable || !item.enabled || s.dialog.open) return refuse(c), std::string();
        d.menu(*m);
        return {};
      }
      case Op::Open:
      case Op::OpenCancel:
        if (s.dialog.open) return refuse(c), std::string();
        platform_.nextFileAnswer =
            c.op == Op::Open ? std::optional<std::string>(c.arg) : std::nullopt;
        d.menu(Menu::Open);
        return {};
      case Op::DialogSelect:
        if (!s.dialog.open) return refuse(c), std::string();
        {
          const auto& items = c.a == 1 ? s.dialog.japaneseItems : s.dialog.englishItems;
          if (c.b < 0 || static_cast<std::size_t>(c.b) >= items.size()) {
            return refuse(c), std::string();
          }
        }
        d.dialogSelect(static_cast<int>(c.a), static_cast<int>(c.b));
        return {};
      case Op::DialogOk:
      case Op::DialogCancel:
        if (!s.dialog.open) return refuse(c), std::string();
        c.op == Op::DialogOk ? d.dialogOk() : d.dialogCancel();
        return {};
      case Op::Tick:
        if (s.form.timer().enabled()) {
          s.form.timer().restartCount();
          d.tick();
        }
        return {};
      case Op::Wait:
        wait(c.a);
        return {};
      case Op::Show:
        return show(c.arg);
      case Op::ShowFocus: {
        const auto a = s.form.active();
        out_ << "focus " << (a ? controlName(*a) : "none") << '\n';
        return {};
      }
      case Op::ShowTimer:
        out_ << "timer enabled=" << flag(s.form.timer().enabled())
             << " interval=" << s.form.timer().interval() << '\n';
        return {};
      case Op::ShowDialog:
        showList("ListBox1", s.dialog.japaneseItems, s.dialog.selected1);
        showList("ListBox2", s.dialog.englishItems, s.dialog.selected2);
        return {};
      default:
        return "unexpected command";
    }
  }

  void wait(std::int64_t ms) {
    ScanTimer& timer = session_->form.timer();
    while (ms > 0 && !dispatcher_->finished()) {
      if (!timer.enabled() || timer.interval() <= 0) {
        platform_.clockMs += ms;
        return;
      }
      // While the scan waits for speech its count stands, and starts again when speech ends.
      if (scanHeldBySpeech(*session_)) {
        const std::int64_t held = std::min(ms, speech_->speakingForMs());
        platform_.clockMs += held;
        ms -= held;
        timer.restartCount();
        continue;
      }
      const std::int64_t due = timer.dueIn();
      if (due > ms) {
        timer.advance(ms);
        platform_.clockMs += ms;
        return;
      }
      timer.advance(due);
      platform_.clockMs += due;
      ms -= due;
      timer.restartCount();
      dispatcher_->tick();
    }
  }

  std::string show(const std::string& name) {
    const Session& s = *session_;
    if (const auto c = controlByName(name)) {
      const ControlState& st = s.form.control(*c);
      out_ << name << " caption=" << transcript::quote(st.caption)
           << " visible=" << flag(st.visible) << " enabled=" << flag(st.enabled) << " checked=0\n";
      return {};
    }
    if (const auto m = menuByName(name)) {
      const MenuState& st = s.form.menu(*m);
      out_ << name << " caption=" << transcript::quote(st.caption)
           << " visible=1 enabled=" << flag(st.enabled) << " checked=" << flag(st.checked) << '\n';
      return {};
    }
    return "no control or menu item named '" + name + "'";
  }

  void showList(const char* name, const std::vector<std::string>& items, int selected) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      out_ << name << ' ' << i << ' ' << transcript::quote(items[i])
           << " selected=" << flag(static_cast<int>(i) == selected) << '\n';
    }
  }

  std::ostream& out_;
  ScriptedPlatform platform_;
  std::vector<VoiceModeInfo> modes_;
  std::int32_t speed_ = 175, minSpeed_ = 80, lastError_ = 0;
  std::unique_ptr<RecordingSpeech> speech_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<Dispatcher> dispatcher_;
};

}  // namespace

RunResult run(std::istream& script, std::ostream& out, const std::string& programPath) {
  Runner runner(out, programPath);
  return runner.run(script);
}

RunResult run(const std::vector<Command>& script, std::ostream& out,
              const std::string& programPath) {
  Runner runner(out, programPath);
  return runner.run(script);
}

}  // namespace orvane::sim
