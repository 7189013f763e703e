#include "sim/script.hpp"

#include <charconv>

namespace orvane::sim {

namespace {
// A command word in quotes, for messages.
std::string quoted(std::string_view word) {
  std::string out(1, '\'');
  out += word;
  out += '\'';
  return out;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Splits off the first word; `rest` keeps what follows, blanks trimmed.
std::string_view firstWord(std::string_view s, std::string_view& rest) {
  std::size_t i = 0;
  while (i < s.size() && !isBlank(s[i])) ++i;
  rest = trimBlanks(s.substr(i));
  return s.substr(0, i);
}

// A decimal number that fits 32 bits; `outOfRange` is set for one that does not.
std::optional<std::int32_t> number(std::string_view s, bool& outOfRange) {
  std::int32_t v = 0;
  const auto* end = s.data() + s.size();
  const auto [p, ec] = std::from_chars(s.data(), end, v);
  if (ec == std::errc::result_out_of_range && p == end) outOfRange = true;
  if (ec != std::errc() || p != end || s.empty()) return std::nullopt;
  return v;
}
}  // namespace

std::optional<Command> parseLine(std::string_view raw, std::size_t lineNo,
                                 std::optional<ParseError>& error) {
  const std::string_view line = trimBlanks(raw);
  if (line.empty() || line.front() == '#') return std::nullopt;
  std::string_view rest;
  const std::string_view word = firstWord(line, rest);
  Command c{Op::Start, lineNo, std::string(line), {}, 0, 0};
  bool outOfRange = false;
  auto fail = [&](std::string message) -> std::optional<Command> {
    if (outOfRange) message = "a number does not fit 32 bits: " + std::string(line);
    error = ParseError{lineNo, std::move(message)};
    return std::nullopt;
  };
  const auto number = [&](std::string_view s) { return sim::number(s, outOfRange); };
  auto noArgs = [&](Op op) -> std::optional<Command> {
    if (!rest.empty()) return fail(quoted(word) + " takes no argument");
    c.op = op;
    return c;
  };
  auto oneArg = [&](Op op) -> std::optional<Command> {
    if (rest.empty()) return fail(quoted(word) + " needs an argument");
    c.op = op;
    c.arg = std::string(rest);
    return c;
  };

  if (word == "start") {
    // "start FILE": the program started with a question file, as `orvane FILE` is.
    c.op = Op::Start;
    c.arg = std::string(rest);
    return c;
  }
  if (word == "tick") return noArgs(Op::Tick);
  if (word == "click") return oneArg(Op::Click);
  if (word == "clickword") return oneArg(Op::ClickWord);
  if (word == "key") return oneArg(Op::Key);
  if (word == "menu") return oneArg(Op::Menu);
  if (word == "open") {
    if (rest == "cancel") return c.op = Op::OpenCancel, c;
    return oneArg(Op::Open);
  }
  if (word == "voice") {
    std::string_view title;
    const auto id = number(firstWord(rest, title));
    if (!id || title.empty() || outOfRange) return fail("usage: voice LANGID TITLE...");
    c.op = Op::Voice;
    c.a = *id;
    c.arg = std::string(title);
    return c;
  }
  if (word == "rate" || word == "lasterror" || word == "wait") {
    std::string_view tail;
    const auto first = number(firstWord(rest, tail));
    if (word == "rate") {
      std::string_view none;
      const auto second = number(firstWord(tail, none));
      if (!first || !second || !none.empty() || outOfRange) {
        return fail("usage: rate SPEED MINSPEED");
      }
      c.op = Op::Rate;
      c.a = *first;
      c.b = *second;
      return c;
    }
    if (!first || !tail.empty() || outOfRange) {
      return fail("usage: " + std::string(word) + " NUMBER");
    }
    // A day at the most: a longer wait would fire the scan timer for ages.
    if (word == "wait" && (*first < 0 || *first > 86'400'000)) {
      return fail("wait takes from 0 to 86400000 ms");
    }
    c.op = word == "wait" ? Op::Wait : Op::LastError;
    c.a = *first;
    return c;
  }
  if (word == "dialog") {
    std::string_view tail;
    const std::string_view what = firstWord(rest, tail);
    if (what == "ok" && tail.empty()) return c.op = Op::DialogOk, c;
    if (what == "cancel" && tail.empty()) return c.op = Op::DialogCancel, c;
    if (what == "select") {
      std::string_view posText;
      const std::string_view list = firstWord(tail, posText);
      const auto pos = number(posText);
      if ((list == "ListBox1" || list == "ListBox2") && pos && !outOfRange) {
        c.op = Op::DialogSelect;
        c.a = list == "ListBox1" ? 1 : 2;
        c.b = *pos;
        return c;
      }
    }
    return fail("usage: dialog select ListBox1|ListBox2 POS, dialog ok, dialog cancel");
  }
  if (word == "show") {
    if (rest == "focus") return c.op = Op::ShowFocus, c;
    if (rest == "timer") return c.op = Op::ShowTimer, c;
    if (rest == "dialog") return c.op = Op::ShowDialog, c;
    return oneArg(Op::Show);
  }
  return fail("unknown command '" + std::string(word) + "'");
}

std::vector<Command> parseScript(std::string_view script, std::optional<ParseError>& error) {
  std::vector<Command> commands;
  std::size_t lineNo = 0;
  while (!script.empty() || lineNo == 0) {
    ++lineNo;
    const std::size_t lf = script.find('\n');
    const std::string_view line = script.substr(0, lf);
    script = lf == std::string_view::npos ? std::string_view() : script.substr(lf + 1);
    if (auto c = parseLine(line, lineNo, error)) commands.push_back(std::move(*c));
    if (error) break;
    if (script.empty()) break;
  }
  return commands;
}

}  // namespace orvane::sim
