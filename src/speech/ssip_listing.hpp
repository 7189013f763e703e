// The voices of a speech-dispatcher server listening on a Unix socket, asked in SSIP directly:
// libspeechd reads a reply by searching the whole reply so far for its end at every line, so
// eSpeak NG's module, which lists 13,362 voices, takes it a second of processor time (six under
// the sanitizers); read once, line by line, the list takes milliseconds.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::ssip {

struct ServerVoice {
  std::string module;
  std::string name;
  std::string language;
  std::string variant;  // "none" for a module's base voice
};

// Whether a server listens on the Unix socket `socketPath` (a connection is made and closed).
bool listening(const std::string& socketPath);

// Every voice of every output module, in the server's order; nothing when no server answers on
// `socketPath` (a server that stops answering is given up after `timeoutMs` per reply).
std::optional<std::vector<ServerVoice>> listVoices(const std::string& socketPath,
                                                   int timeoutMs = 2000);

}  // namespace orvane::ssip
