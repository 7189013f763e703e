// Fuzzes the headless runner's script reader, and runs what it accepts against the core (file
// dialogs answered with files of the run's own folder only).
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "sim/runner.hpp"
#include "sim/script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane::sim;
  std::optional<ParseError> error;
  auto commands = parseScript(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (error) return 0;
  // A fuzzer must not wander the file system: every Open is cancelled.
  for (Command& c : commands) {
    if (c.op == Op::Open) c.op = Op::OpenCancel;
  }
  std::ostringstream out;
  (void)run(commands, out, "/nonexistent/orvane");
  return 0;
}
