// Runs a parsed script against the real core with a scripted platform and a recording speech
// adapter, writing one line per event.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "sim/script.hpp"

namespace orvane::sim {

struct RunResult {
  bool ok = true;  // false: the script was malformed at `errorLine`
  std::size_t errorLine = 0;
  std::string error;
};

// `programPath` stands for the program's own file (the help file lies beside it).
RunResult run(const std::vector<Command>& script, std::ostream& out,
              const std::string& programPath);
// The same, reading the script line by line as it runs: a malformed line stops the run there.
RunResult run(std::istream& script, std::ostream& out, const std::string& programPath);

}  // namespace orvane::sim
