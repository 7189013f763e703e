#include "speech/ssip_listing.hpp"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace orvane::ssip {

namespace {
// A connected socket to `path`, sending and receiving for at most `timeoutMs` at a time; -1
// when nothing listens there.
int connectTo(const std::string& path, int timeoutMs) {
  sockaddr_un where{};
  where.sun_family = AF_UNIX;
  if (path.size() >= sizeof where.sun_path) return -1;
  std::memcpy(where.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

class Session {
 public:
  Session(const std::string& path, int timeoutMs, int listingMs)
      : fd_(connectTo(path, timeoutMs)),
        deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(listingMs)) {}
  ~Session() {
    if (fd_ < 0) return;
    send("QUIT");
    ::close(fd_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  bool connected() const { return fd_ >= 0; }

  // Sends a command and reads its reply: the text of each line after its code, or nothing when
  // the server answers with an error or not at all.
  std::optional<std::vector<std::string>> ask(const std::string& command) {
    // After a reply given up part-way, what comes is the rest of it: nothing more is asked.
    if (broken_ || !send(command)) return std::nullopt;
    std::vector<std::string> lines;
    for (;;) {
      const std::optional<std::string> line = readLine();
      if (!line) broken_ = true;
      if (!line || line->size() < 4 || (*line)[0] != '2') return std::nullopt;
      if ((*line)[3] == ' ') return lines;  // "249 OK VOICE LIST SENT"
      // "249-Afrikaans\taf\tnone"; lines past what a listing keeps are read and let go.
      if (lines.size() < kMaxVoices) lines.push_back(line->substr(4));
    }
  }

 private:
  bool send(const std::string& command) {
    const std::string line = command + "\r\n";
    return ::send(fd_, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
  }
  std::optional<std::string> readLine() {
    for (;;) {
      if (const std::size_t end = buffer_.find("\r\n", scanned_); end != std::string::npos) {
        if (end - start_ > kMaxLineBytes) return std::nullopt;
        std::string line = buffer_.substr(start_, end - start_);
        start_ = scanned_ = end + 2;
        return line;
      }
      // A line without end, a listing without end, or one that trickles past the deadline.
      if (buffer_.size() - start_ > kMaxLineBytes + 2 || received_ > kMaxListingBytes ||
          std::chrono::steady_clock::now() > deadline_) {
        return std::nullopt;
      }
      // What was read is let go only when more is read, not line by line, which would move the
      // rest of a large chunk once for every line in it.
      buffer_.erase(0, start_);
      start_ = 0;
      scanned_ = buffer_.empty() ? 0 : buffer_.size() - 1;
      char chunk[65536];
      const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
      if (n <= 0) return std::nullopt;
      received_ += static_cast<std::size_t>(n);
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  int fd_ = -1;
  std::chrono::steady_clock::time_point deadline_;
  std::size_t received_ = 0;
  bool broken_ = false;
  std::string buffer_;
  std::size_t start_ = 0;    // where the next line begins in buffer_
  std::size_t scanned_ = 0;  // where the search for a line's end goes on
};
}  // namespace

bool listening(const std::string& socketPath) {
  const int fd = connectTo(socketPath, 1000);
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

std::optional<std::vector<ServerVoice>> listVoices(const std::string& socketPath, int timeoutMs,
                                                   int listingMs) {
  Session server(socketPath, timeoutMs, listingMs);
  if (!server.connected() || !server.ask("SET self CLIENT_NAME orvane:voices:list")) {
    return std::nullopt;
  }
  const auto modules = server.ask("LIST OUTPUT_MODULES");
  if (!modules) return std::nullopt;
  std::vector<ServerVoice> voices;
  for (const std::string& module : *modules) {
    if (!server.ask("SET self OUTPUT_MODULE " + module)) continue;
    const auto lines = server.ask("LIST SYNTHESIS_VOICES");
    if (!lines) continue;
    for (const std::string& line : *lines) {
      // NAME TAB LANGUAGE TAB VARIANT
      const std::size_t tab1 = line.find('\t');
      const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
      if (tab2 == std::string::npos) continue;
      if (voices.size() >= kMaxVoices) return voices;
      voices.push_back({module, line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1),
                        line.substr(tab2 + 1)});
    }
  }
  return voices;
}

}  // namespace orvane::ssip
