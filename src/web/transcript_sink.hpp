// The event lines orvane-sim prints, written by the bridge's adapters when the page runs under
// test, so the browser runner can hold the page's transcript beside the headless runner's.
#pragma once

#include <string>

#include "web/host.hpp"

namespace orvane::web {

class TranscriptSink {
 public:
  void setEnabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }
  void write(const std::string& line) {
    if (enabled_) host::transcriptLine(line);
  }

 private:
  bool enabled_ = false;
};

}  // namespace orvane::web
