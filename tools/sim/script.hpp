// The headless runner's script language: one command a line, "#" comments, blank lines skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::sim {

enum class Op {
  Voice,
  Rate,
  LastError,
  Start,
  Click,
  ClickWord,
  Key,
  Menu,
  Open,
  OpenCancel,
  DialogSelect,
  DialogOk,
  DialogCancel,
  Tick,
  Wait,
  Show,
  ShowFocus,
  ShowTimer,
  ShowDialog,
};

struct Command {
  Op op;
  std::size_t line = 0;
  std::string text;           // the command as written, for "refused"
  std::string arg;            // name, word, key, path or title
  std::int64_t a = 0, b = 0;  // numbers
};

struct ParseError {
  std::size_t line;
  std::string message;
};

// Parses one line; nothing for blank and comment lines. Sets `error` for a malformed line.
std::optional<Command> parseLine(std::string_view line, std::size_t number,
                                 std::optional<ParseError>& error);

// Parses a whole script; stops at the first malformed line.
std::vector<Command> parseScript(std::string_view script, std::optional<ParseError>& error);

}  // namespace orvane::sim
