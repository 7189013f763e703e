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

// What a listing may take: a server that sends without end, a line without end, or sends a
// byte at a time never holds the program. The whole listing is given up after kListingMs.
inline constexpr std::size_t kMaxLineBytes = 4096;
inline constexpr std::size_t kMaxListingBytes = 16u << 20;
inline constexpr std::size_t kMaxVoices = 20000;
inline constexpr int kListingMs = 5000;

// Every voice of every output module, in the server's order, at most kMaxVoices; nothing when no
// server answers on `socketPath` (a server that stops answering is given up after `timeoutMs`
// per reply, the listing after kListingMs in all), and only what came whole before a limit was
// reached.
std::optional<std::vector<ServerVoice>> listVoices(const std::string& socketPath,
                                                   int timeoutMs = 2000,
                                                   int listingMs = kListingMs);

}  // namespace orvane::ssip
