// A learner who only listens: starts the drill, switches the auto-scan on once (Alt+O, S; or,
// with --scan on, finds it on from start, as settings.ini's auto_scan has it) and from then on
// presses Enter alone, each time it hears the caption it wants next. It hears the
// sound device's monitor live, cuts the sound into utterances at pauses and recognises each with
// pocketsphinx, restricted to the words it could hear at that point: the buttons' captions and
// the words of the current question. It knows the questions' English words from the question
// file, as a learner knows what they are learning; it never looks at the screen or the program.
//
// usage: orvane-listening-learner --lesson FILE --monitor SOURCE --out DIR [--scan on]
//            -- PROGRAM [ARG...]
// Writes DIR/learner.log (what it heard when, and what it pressed), DIR/heard.tsv (one line per
// utterance: start, length, kind, words), DIR/recording.wav and DIR/end.ppm (the screen just
// before End). Exit status 0 when the drill was done and the program ended with status 0.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <jsgf.h>
#include <pocketsphinx.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 16000;             // what the recogniser's model was trained on
constexpr int kFrame = kRate / 100;      // 10 ms
constexpr double kSpeechLevel = 160;     // RMS of a frame with sound in it (about -46 dBFS)
constexpr int kPauseFrames = 30;         // 300 ms of quiet ends an utterance
constexpr int kLeadFrames = 20;          // 200 ms kept before an utterance's first loud frame
constexpr double kNoiseLevel = 60;       // the faint floor the recogniser needs (RMS)
constexpr double kPromptQuiet = 1.0;     // a prompt is over after this much quiet, in seconds
constexpr double kPromptWait = 3.0;      // a prompt starts this soon after Next
constexpr double kFirstPromptWait = 20;  // or after the program was started
constexpr double kSentenceWait = 3.0;    // the sentence starts this soon after Speak
constexpr double kSilenceLimit = 20;     // five scan steps of 4 s with nothing heard
constexpr std::size_t kStepLimit = 30;   // captions heard while waiting for one
constexpr double kEndWait = 10;          // for the program to end after End

[[noreturn]] void fail(const std::string& why) {
  throw std::runtime_error(why);
}

// ---- What the learner learns: the English words of each question, in order.

struct Question {
  std::vector<std::string> words;  // as spoken: lower case
  std::string mark;                // the closing mark's spoken name
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string markName(const std::string& mark) {
  if (mark == ".") return "period";
  if (mark == "?") return "question mark";
  if (mark == "!") return "exclamation mark";
  fail("the closing mark '" + mark + "' is none of . ? !");
}

// Ten-line records: a number, the Japanese sentence, up to seven words, the closing mark. A line
// that begins with "*" (or the end of the file) ends the questions.
std::vector<Question> readLesson(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail("cannot read the question file " + path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    lines.push_back(line);
  }
  std::vector<Question> lesson;
  for (std::size_t at = 0; at + 10 <= lines.size() && !lines[at].empty() && lines[at][0] != '*';
       at += 10) {
    Question q;
    for (std::size_t k = 2; k < 9; ++k)
      if (!lines[at + k].empty()) q.words.push_back(lower(lines[at + k]));
    q.mark = markName(lines[at + 9]);
    lesson.push_back(q);
  }
  if (lesson.empty()) fail("no question in " + path);
  return lesson;
}

// ---- Hearing: the monitor's sound, cut into utterances.

struct Utterance {
  double start = 0, end = 0;  // seconds on the recording's clock
  std::vector<std::int16_t> samples;
};

class Ear {
 public:
  explicit Ear(const std::string& source) {
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = kFrame * 2;
    int err = 0;
    rec_ = pa_simple_new(nullptr, "orvane-listening-learner", PA_STREAM_RECORD, source.c_str(),
                         "learner", &format, nullptr, &attr, &err);
    if (!rec_) fail("cannot record " + source + ": " + pa_strerror(err));
  }
  ~Ear() { pa_simple_free(rec_); }
  Ear(const Ear&) = delete;
  Ear& operator=(const Ear&) = delete;

  // Reads 10 ms; returns an utterance when this frame ended one.
  std::optional<Utterance> listen() {
    std::int16_t frame[kFrame];
    int err = 0;
    if (pa_simple_read(rec_, frame, sizeof frame, &err) < 0)
      fail(std::string("recording stopped: ") + pa_strerror(err));
    all_.insert(all_.end(), frame, frame + kFrame);
    double sum = 0;
    for (const std::int16_t s : frame) sum += double(s) * s;
    const bool loud = std::sqrt(sum / kFrame) > kSpeechLevel;
    const std::size_t now = all_.size();
    if (loud) {
      if (!inSpeech_) {
        inSpeech_ = true;
        from_ = now - std::min<std::size_t>(now, (kLeadFrames + 1) * kFrame);
      }
      quiet_ = 0;
    } else if (inSpeech_ && ++quiet_ == kPauseFrames) {
      inSpeech_ = false;
      Utterance u;
      u.start = double(from_) / kRate + double(kLeadFrames) / 100;
      u.end = double(now) / kRate - double(kPauseFrames) / 100;
      u.samples.assign(all_.begin() + static_cast<std::ptrdiff_t>(from_), all_.end());
      return u;
    }
    return std::nullopt;
  }

  bool inSpeech() const { return inSpeech_; }
  double now() const { return double(all_.size()) / kRate; }

  void saveWav(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const auto bytes = static_cast<std::uint32_t>(all_.size() * 2);
    out.write("RIFF", 4), u32(36 + bytes), out.write("WAVEfmt ", 8), u32(16), u16(1), u16(1);
    u32(kRate), u32(kRate * 2), u16(2), u16(16), out.write("data", 4), u32(bytes);
    out.write(reinterpret_cast<const char*>(all_.data()), bytes);
  }

 private:
  pa_simple* rec_ = nullptr;
  std::vector<std::int16_t> all_;  // the whole recording
  bool inSpeech_ = false;
  int quiet_ = 0;
  std::size_t from_ = 0;
};

// ---- Understanding: pocketsphinx over a grammar of the words that can be heard now.

class Recogniser {
 public:
  explicit Recogniser(const std::string& model) {
    config_ = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", (model + "/en-us").c_str(), "-dict",
                          (model + "/cmudict-en-us.dict").c_str(), "-wip", "0.01", "-cmn", "batch",
                          "-remove_silence", "no", "-logfn", "/dev/null", nullptr);
    if (config_) ps_ = ps_init(config_);
    if (!ps_) fail("pocketsphinx cannot load its English model from " + model);
  }
  ~Recogniser() {
    ps_free(ps_);
    cmd_ln_free_r(config_);
  }
  Recogniser(const Recogniser&) = delete;
  Recogniser& operator=(const Recogniser&) = delete;

  // One or more of these phrases, in any order.
  void expect(const std::vector<std::string>& phrases) {
    std::string alternatives;
    for (const std::string& p : phrases) {
      std::size_t from = 0;
      for (std::size_t to; from <= p.size(); from = to + 1) {
        to = std::min(p.find(' ', from), p.size());
        const std::string word = p.substr(from, to - from);
        char* pron = ps_lookup_word(ps_, word.c_str());
        if (!pron) fail("the recogniser's dictionary has no word '" + word + "'");
        std::free(pron);
      }
      alternatives += (alternatives.empty() ? "" : " | ") + p;
    }
    const std::string jsgf =
        "#JSGF V1.0;\ngrammar heard;\npublic <heard> = <phrase>+;\n<phrase> = " + alternatives +
        ";\n";
    // Built here rather than with ps_set_jsgf_string, which leaks the parsed grammar.
    jsgf_t* grammar = jsgf_parse_string(jsgf.c_str(), nullptr);
    jsgf_rule_t* rule = grammar ? jsgf_get_public_rule(grammar) : nullptr;
    fsg_model_t* fsg =
        rule ? jsgf_build_fsg(grammar, rule, ps_get_logmath(ps_), cmd_ln_float32_r(config_, "-lw"))
             : nullptr;
    const bool ok = fsg && ps_set_fsg(ps_, "heard", fsg) == 0 && ps_set_search(ps_, "heard") == 0;
    if (fsg) fsg_model_free(fsg);
    if (grammar) jsgf_grammar_free(grammar);
    if (!ok) fail("pocketsphinx refused the grammar:\n" + jsgf);
  }

  std::string recognise(std::vector<std::int16_t> samples) {
    // Digital silence throws the recogniser's noise estimate: add a faint floor, the same each
    // time for the same sound.
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0, kNoiseLevel);
    for (std::int16_t& s : samples)
      s = static_cast<std::int16_t>(std::clamp(s + noise(random), -32768.0, 32767.0));
    ps_start_utt(ps_);
    ps_process_raw(ps_, samples.data(), samples.size(), FALSE, TRUE);
    ps_end_utt(ps_);
    std::int32_t score = 0;
    const char* hyp = ps_get_hyp(ps_, &score);
    return hyp ? hyp : "";
  }

 private:
  cmd_ln_t* config_ = nullptr;
  ps_decoder_t* ps_ = nullptr;
};

// ---- Acting: keys through XTest, to whichever window has the keyboard.

class Hand {
 public:
  Hand() : display_(XOpenDisplay(nullptr)) {
    if (!display_) fail("no X display");
  }
  ~Hand() { XCloseDisplay(display_); }
  Hand(const Hand&) = delete;
  Hand& operator=(const Hand&) = delete;

  void press(KeySym key, KeySym modifier = NoSymbol) {
    const KeyCode mod = modifier == NoSymbol ? 0 : XKeysymToKeycode(display_, modifier);
    const KeyCode code = XKeysymToKeycode(display_, key);
    if (mod) XTestFakeKeyEvent(display_, mod, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (mod) XTestFakeKeyEvent(display_, mod, False, CurrentTime);
    XFlush(display_);
  }

  // The whole screen as a PPM picture: kept for the person who reads a failed run.
  void screenshot(const std::string& path) {
    const Window root = DefaultRootWindow(display_);
    XWindowAttributes a{};
    XGetWindowAttributes(display_, root, &a);
    XImage* image = XGetImage(display_, root, 0, 0, static_cast<unsigned>(a.width),
                              static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (!image) return;
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << a.width << ' ' << a.height << "\n255\n";
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        const char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
        out.write(rgb, 3);
      }
    XDestroyImage(image);
  }

 private:
  Display* display_;
};

// ---- The learner.

struct Want {
  enum Kind { Prompt, Caption, Sentence } kind;
  std::string phrase;  // the caption wanted (Caption)
  int question = 0;    // whose words can be heard
};

// Everything the learner will listen for, in order.
std::vector<Want> plan(const std::vector<Question>& lesson) {
  std::vector<Want> wants{{Want::Prompt, "", 0}};
  for (int q = 0; q < static_cast<int>(lesson.size()); ++q) {
    wants.push_back({Want::Caption, "start", q});
    for (const std::string& w : lesson[q].words) wants.push_back({Want::Caption, w, q});
    wants.push_back({Want::Caption, lesson[q].mark, q});
    wants.push_back({Want::Caption, "speak", q});
    wants.push_back({Want::Sentence, "", q});
    wants.push_back({Want::Caption, "next", q});
    const int last = static_cast<int>(lesson.size()) - 1;
    wants.push_back({Want::Prompt, "", std::min(q + 1, last)});  // the next question's, or none
  }
  wants.push_back({Want::Caption, "end", static_cast<int>(lesson.size()) - 1});
  return wants;
}

class Learner {
 public:
  Learner(std::vector<Question> lesson, const std::string& monitor, const std::string& model,
          std::string out, bool scanOnAtStart)
      : scanOnAtStart_(scanOnAtStart),
        lesson_(std::move(lesson)),
        wants_(plan(lesson_)),
        ear_(monitor),
        recogniser_(model),
        out_(std::move(out)),
        log_(out_ + "/learner.log"),
        heard_(out_ + "/heard.tsv") {}

  ~Learner() {
    if (child_ > 0) {
      ::kill(child_, SIGTERM);
      ::waitpid(child_, nullptr, 0);
    }
    ear_.saveWav(out_ + "/recording.wav");
  }
  Learner(const Learner&) = delete;
  Learner& operator=(const Learner&) = delete;

  void run(char** program) {
    try {
      drill(program);
    } catch (const std::exception& e) {
      log_ << "FAIL: " << e.what() << std::endl;
      throw;
    }
  }

 private:
  void drill(char** program) {
    child_ = ::fork();
    if (child_ < 0) fail("cannot start the program");
    if (child_ == 0) {
      ::execvp(program[0], program);
      std::perror(program[0]);
      ::_exit(127);
    }
    say("started " + std::string(program[0]));
    begin(0);
    while (next_ < wants_.size()) {
      if (auto u = ear_.listen()) hear(*u);
      if (next_ == wants_.size()) break;  // End pressed
      checkTime();
      if (int status; ::waitpid(child_, &status, WNOHANG) == child_) {
        child_ = 0;
        fail("the program ended (" + describe(status) + ") while " + waiting());
      }
    }
    waitForEnd();
  }

  void say(const std::string& line) {
    char when[16];
    std::snprintf(when, sizeof when, "%7.2f ", ear_.now());
    log_ << when << line << std::endl;
    std::printf("%s%s\n", when, line.c_str());
    std::fflush(stdout);
  }

  std::string waiting() const {
    const Want& w = wants_[next_];
    if (w.kind == Want::Prompt) return "waiting for a prompt";
    if (w.kind == Want::Sentence) return "waiting for the sentence";
    return "waiting for '" + w.phrase + "'";
  }

  // Starts waiting for wants_[index].
  void begin(std::size_t index) {
    next_ = index;
    since_ = ear_.now();
    heardWhileWaiting_.clear();
    promptHeard_ = false;
    if (next_ < wants_.size() &&
        (index == 0 || wants_[index].question != wants_[index - 1].question))
      expectQuestion(wants_[index].question);
  }

  void expectQuestion(int q) {
    std::vector<std::string> phrases{"start",  "speak",         "erase",
                                     "next",   "end",           "answer",
                                     "period", "question mark", "exclamation mark"};
    for (const std::string& w : lesson_[q].words)
      if (std::find(phrases.begin(), phrases.end(), w) == phrases.end()) phrases.push_back(w);
    recogniser_.expect(phrases);
  }

  void hear(const Utterance& u) {
    const Want& w = wants_[next_];
    const std::string words = recogniser_.recognise(u.samples);
    const char* kind = w.kind == Want::Prompt     ? "prompt"
                       : w.kind == Want::Sentence ? "sentence"
                                                  : "caption";
    char line[64];
    std::snprintf(line, sizeof line, "%.2f\t%.2f\t%s\t", u.start, u.end - u.start, kind);
    heard_ << line << words << std::endl;
    lastEnd_ = u.end;
    std::snprintf(line, sizeof line, "heard %s (%.2f s): ", kind, u.end - u.start);
    say(line + ("'" + words + "'"));

    if (w.kind == Want::Prompt) {
      promptHeard_ = true;
      return;  // over after a quiet second (checkTime)
    }
    if (w.kind == Want::Sentence) return begin(next_ + 1);
    heardWhileWaiting_.push_back(words);
    if (words == w.phrase) {
      if (next_ + 1 == wants_.size()) hand_.screenshot(out_ + "/end.ppm");
      hand_.press(XK_Return);
      say("  Enter on '" + w.phrase + "'");
      return begin(next_ + 1);
    }
    if (heardWhileWaiting_.size() >= kStepLimit) {
      std::string heard;
      for (const std::string& h : heardWhileWaiting_)
        heard += (heard.empty() ? "'" : ", '") + h + "'";
      fail("waited " + std::to_string(kStepLimit) + " scan steps for '" + w.phrase + "', heard " +
           heard);
    }
  }

  void checkTime() {
    const Want& w = wants_[next_];
    const double waited = ear_.now() - since_;
    if (w.kind == Want::Prompt) {
      const double limit = next_ == 0 ? kFirstPromptWait : kPromptWait;
      if (!promptHeard_ && !ear_.inSpeech() && waited > limit)
        fail(std::string(next_ == 0 ? "started the program" : "pressed Enter on 'next'") +
             ", heard no prompt within " + std::to_string(int(limit)) + " s");
      if (promptHeard_ && !ear_.inSpeech() && ear_.now() - lastEnd_ > kPromptQuiet) {
        if (next_ == 0 && !scanOnAtStart_) {
          // The one menu action: the auto-scan on.
          hand_.press(XK_o, XK_Alt_L);
          hand_.press(XK_s);
          say("pressed Alt+O, S: auto-scan on");
        }
        begin(next_ + 1);
      }
    } else if (w.kind == Want::Sentence) {
      if (!ear_.inSpeech() && waited > kSentenceWait)
        fail("pressed Enter on 'speak', heard no sentence within " +
             std::to_string(int(kSentenceWait)) + " s");
    } else if (!ear_.inSpeech() && ear_.now() - std::max(since_, lastEnd_) > kSilenceLimit) {
      fail("heard nothing for " + std::to_string(int(kSilenceLimit)) + " s " + waiting() +
           " (is the auto-scan on?)");
    }
  }

  void waitForEnd() {
    for (int i = 0; i < int(kEndWait * 100); ++i) {
      int status = 0;
      if (::waitpid(child_, &status, WNOHANG) == child_) {
        child_ = 0;
        say("the program ended (" + describe(status) + ")");
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
          fail("the program ended with " + describe(status));
        return;
      }
      ear_.listen();  // 10 ms
    }
    fail("the program did not end within " + std::to_string(int(kEndWait)) + " s of End");
  }

  static std::string describe(int status) {
    if (WIFEXITED(status)) return "status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("signal ") + strsignal(WTERMSIG(status));
    return "stopped";
  }

 private:
  bool scanOnAtStart_;
  std::vector<Question> lesson_;
  std::vector<Want> wants_;
  Ear ear_;
  Recogniser recogniser_;
  Hand hand_;
  std::string out_;
  std::ofstream log_, heard_;
  pid_t child_ = 0;
  std::size_t next_ = 0;
  double since_ = 0, lastEnd_ = 0;
  bool promptHeard_ = false;
  std::vector<std::string> heardWhileWaiting_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string lesson, monitor, out, model = "/usr/share/pocketsphinx/model/en-us", scan = "off";
  int i = 1;
  bool known = true;
  for (; known && i + 1 < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
    const std::string opt = argv[i];
    std::string* value = opt == "--lesson"    ? &lesson
                         : opt == "--monitor" ? &monitor
                         : opt == "--out"     ? &out
                         : opt == "--model"   ? &model
                         : opt == "--scan"    ? &scan
                                              : nullptr;
    if (value) *value = argv[i + 1];
    known = value != nullptr;
  }
  if (!known || lesson.empty() || monitor.empty() || out.empty() || i + 1 >= argc ||
      std::strcmp(argv[i], "--") != 0) {
    std::fprintf(stderr,
                 "usage: orvane-listening-learner --lesson FILE --monitor SOURCE --out DIR "
                 "[--model DIR] [--scan on] -- PROGRAM [ARG...]\n");
    return 2;
  }
  try {
    Learner learner(readLesson(lesson), monitor, model, out, scan == "on");
    learner.run(argv + i + 1);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "FAIL: %s\n", e.what());
    return 1;
  }
  return 0;
}
