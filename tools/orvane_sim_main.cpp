// orvane-sim [SCRIPT]: runs the drill headless in the current directory, driven by a script
// (standard input without SCRIPT), and prints what the program does, one line per event. The
// script is read as it runs; a malformed line ends the run there with a message naming it.
#include <unistd.h>

#include <climits>
#include <fstream>
#include <iostream>
#include <string>

#include "sim/runner.hpp"
#include "sim/script.hpp"

namespace {
std::string programPath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string self = n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : "orvane-sim";
  // The runner stands in for the program `orvane` installed beside it.
  const auto slash = self.rfind('/');
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "orvane";
}
}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help") {
    std::cout << "usage: orvane-sim [SCRIPT]\n"
                 "Runs the drill headless in the current folder (toi.dat, speech.ini), driven by\n"
                 "SCRIPT or standard input, and prints what the program does, one line an event.\n"
                 "See the manual page orvane-sim(1) for the script's commands.\n";
    return 0;
  }
  if (first == "--version") {
    std::cout << "orvane-sim " << ORVANE_VERSION << '\n';
    return 0;
  }
  if (argc > 2 || first.rfind("--", 0) == 0) {
    if (first.rfind("--", 0) == 0) std::cerr << "orvane-sim: unknown option: " << first << '\n';
    std::cerr << "usage: orvane-sim [SCRIPT]\n";
    return 2;
  }
  const std::string name = argc == 2 ? argv[1] : "<stdin>";
  std::ifstream file;
  if (argc == 2) {
    file.open(argv[1], std::ios::binary);
    if (!file) {
      std::cerr << "orvane-sim: cannot read " << name << '\n';
      return 2;
    }
  }
  std::istream& in = argc == 2 ? static_cast<std::istream&>(file) : std::cin;
  std::ios::sync_with_stdio(false);
  const auto result = orvane::sim::run(in, std::cout, programPath());
  std::cout.flush();
  if (!result.ok) {
    std::cerr << "orvane-sim: " << name << ":" << result.errorLine << ": " << result.error << '\n';
    return 2;
  }
  // A transcript that could not be written whole (a full disk, a closed pipe) is no success.
  if (!std::cout) {
    std::cerr << "orvane-sim: could not write the transcript\n";
    return 1;
  }
  return 0;
}
