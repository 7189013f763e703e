#include "speech/speechd_voices.hpp"

#include <fcntl.h>
#include <libspeechd.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace orvane {

namespace {
constexpr const char* kPrefix = "speechd:";  // identifiers: "speechd:MODULE:VOICE"
constexpr auto kPoll = std::chrono::milliseconds(5);
// How long a cut-off waits for the server to confirm it.
constexpr auto kCancelWait = std::chrono::milliseconds(500);

SPDConnection* link(void* connection) {
  return static_cast<SPDConnection*>(connection);
}

// The address libspeechd would find itself: SPEECHD_ADDRESS, else the user's socket.
using Address = std::unique_ptr<SPDConnectionAddress, void (*)(SPDConnectionAddress*)>;
Address defaultAddress() {
  char* error = nullptr;
  Address address(spd_get_default_address(&error), &SPDConnectionAddress__free);
  std::free(error);
  return address;
}

// The socket's path when the address is a Unix socket; nothing for a network address.
const char* unixSocket(const SPDConnectionAddress& address) {
  return address.method == SPD_METHOD_UNIX_SOCKET ? address.unix_socket_name : nullptr;
}

// Starts a server on `socketPath` the way libspeechd's autospawn does, and returns once it has
// started or refused. Run here rather than through spd_open2's autospawn, which loses its report
// whenever the server does not come up (not installed, or its configuration says
// DisableAutoSpawn).
void startServer(const char* socketPath) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string path = socketPath;
  char* argv[] = {const_cast<char*>("speech-dispatcher"),
                  const_cast<char*>("--spawn"),
                  const_cast<char*>("--communication-method"),
                  const_cast<char*>("unix_socket"),
                  const_cast<char*>("--socket-path"),
                  path.data(),
                  nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ) == 0) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}
}  // namespace

// libspeechd's callbacks carry no context of ours, only the client's number: this finds the
// source of each connection.
struct SpeechdVoices::Registry {
  // Never destroyed: a connection may still report an end while the program exits.
  static std::mutex& mutex() {
    static auto* m = new std::mutex;
    return *m;
  }
  static std::map<std::size_t, SpeechdVoices*>& sources() {
    static auto* s = new std::map<std::size_t, SpeechdVoices*>;
    return *s;
  }
  static void ended(std::size_t messageId, std::size_t clientId, SPDNotificationType) {
    std::lock_guard lock(mutex());
    const auto it = sources().find(clientId);
    if (it == sources().end()) return;
    SpeechdVoices& self = *it->second;
    std::lock_guard own(self.mutex_);
    self.endedIds_.push_back(messageId);
    if (self.endedIds_.size() > 16) self.endedIds_.pop_front();
    self.ended_.notify_all();
  }
};

SpeechdVoices::~SpeechdVoices() {
  disconnect();
}

int SpeechdVoices::serverRate(std::int32_t wordsPerMinute) {
  const double wpm = std::clamp<double>(wordsPerMinute, 80, 449);
  const double rate = wpm < 170 ? (wpm - 80) * 100 / 90 - 100 : (wpm - 170) * 100 / 279;
  return static_cast<int>(std::lround(rate));
}

bool SpeechdVoices::connect(bool spawn) {
  if (connection_) return true;
  // Asked for here so that it is freed whether or not the connection is made.
  const Address address = defaultAddress();
  if (!address) return false;
  // Asked before libspeechd tries, which is quicker when no server listens and spares the
  // strings libspeechd loses when it cannot connect.
  if (address->method == SPD_METHOD_UNIX_SOCKET) {
    const char* socket = unixSocket(*address);
    if (!socket) return false;
    // Started only once its voices are wanted; the user's configuration may forbid it.
    if (spawn && !ssip::listening(socket)) startServer(socket);
    if (!ssip::listening(socket)) return false;
  }
  char* error = nullptr;
  connection_ = spd_open2("orvane", "main", nullptr, SPD_MODE_THREADED, address.get(),
                          spawn && address->method != SPD_METHOD_UNIX_SOCKET ? 1 : 0, &error);
  std::free(error);
  if (!connection_) return false;
  clientId_ = static_cast<std::size_t>(spd_get_client_id(link(connection_)));
  link(connection_)->callback_end = &Registry::ended;
  link(connection_)->callback_cancel = &Registry::ended;
  spd_set_notification_on(link(connection_), SPD_END);
  spd_set_notification_on(link(connection_), SPD_CANCEL);
  {
    std::lock_guard lock(Registry::mutex());
    Registry::sources()[clientId_] = this;
  }
  module_.clear(), voice_.clear(), rate_ = 1000;
  return true;
}

void SpeechdVoices::disconnect() {
  if (!connection_) return;
  {
    std::lock_guard lock(Registry::mutex());
    Registry::sources().erase(clientId_);
  }
  spd_close(link(connection_));
  connection_ = nullptr;
}

bool SpeechdVoices::serverGone() const {
  pollfd p{link(connection_)->socket, POLLRDHUP, 0};
  return ::poll(&p, 1, 0) < 0 || (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool SpeechdVoices::start() {
  voices_.clear();
  const Address address = defaultAddress();
  if (!address) return false;
  std::vector<ssip::ServerVoice> listed;
  if (const char* socket = unixSocket(*address)) {
    // No server: one is started when the voices are wanted (libspeechd returns once it
    // answers), and kept for the run. A server refuses to start on any socket but the one its
    // configuration names, or when its configuration forbids it.
    if (serverStartAllowed_ && !ssip::listening(socket)) connect(/*spawn=*/true);
    if (auto voices = ssip::listVoices(socket)) listed = std::move(*voices);
  } else if (connect()) {
    listed = listThroughLibrary();  // a server on the network: libspeechd's slower way
  }
  for (const ssip::ServerVoice& v : listed) {
    if (v.variant.empty() || v.variant == "none") {
      voices_.push_back({v.name + " – " + v.module + ", speech-dispatcher",
                         kPrefix + v.module + ":" + v.name, v.language});
    }
  }
  return !voices_.empty();
}

std::vector<ssip::ServerVoice> SpeechdVoices::listThroughLibrary() {
  std::vector<ssip::ServerVoice> listed;
  char** modules = spd_list_modules(link(connection_));
  for (char** m = modules; m && *m; ++m) {
    if (spd_set_output_module(link(connection_), *m) != 0) continue;
    SPDVoice** voices = spd_list_synthesis_voices(link(connection_));
    for (SPDVoice** v = voices; v && *v; ++v) {
      if (!(*v)->name) continue;
      listed.push_back({*m, (*v)->name, (*v)->language ? (*v)->language : "",
                        (*v)->variant ? (*v)->variant : ""});
    }
    free_spd_voices(voices);
  }
  free_spd_modules(modules);
  module_.clear();
  return listed;
}

bool SpeechdVoices::use(const std::string& module, const std::string& voice, int rate) {
  if (module != module_) {
    if (spd_set_output_module(link(connection_), module.c_str()) != 0) return false;
    module_ = module, voice_.clear();
  }
  if (voice != voice_) {
    if (spd_set_synthesis_voice(link(connection_), voice.c_str()) != 0) return false;
    voice_ = voice;
  }
  if (rate != rate_) {
    if (spd_set_voice_rate(link(connection_), rate) != 0) return false;
    rate_ = rate;
  }
  return true;
}

bool SpeechdVoices::play(const std::string& identifier, std::int32_t wordsPerMinute,
                         const std::string& text, bool caption,
                         const std::function<bool()>& stillWanted) {
  const std::size_t colon = identifier.find(':', std::string_view(kPrefix).size());
  if (identifier.rfind(kPrefix, 0) != 0 || colon == std::string::npos) return true;
  const std::string module =
      identifier.substr(std::string_view(kPrefix).size(), colon - std::string_view(kPrefix).size());
  const std::string voice = identifier.substr(colon + 1);
  // A server that went away is looked for again with every utterance.
  if (connection_ && serverGone()) disconnect();
  if (!connect() || !use(module, voice, serverRate(wordsPerMinute))) {
    disconnect();
    return false;
  }
  // Captions as messages: never cut by another program's text, and never over it. Prompts and
  // sentences as text. No lock is held while the server is asked anything: its answers and its
  // reports of ends come in on one thread.
  const int id = spd_say(link(connection_), caption ? SPD_MESSAGE : SPD_TEXT, text.c_str());
  if (id < 0) {
    disconnect();
    return false;
  }
  const auto over = [&] {
    return std::find(endedIds_.begin(), endedIds_.end(), static_cast<std::size_t>(id)) !=
           endedIds_.end();
  };
  std::unique_lock lock(mutex_);
  for (;;) {
    if (ended_.wait_for(lock, kPoll, over)) return true;
    lock.unlock();
    const bool gone = serverGone();
    const bool wanted = !gone && stillWanted();
    lock.lock();
    if (gone) break;
    if (!wanted) {
      lock.unlock();
      spd_cancel(link(connection_));  // this program's own messages only
      lock.lock();
      ended_.wait_for(lock, kCancelWait, over);
      return true;
    }
  }
  lock.unlock();
  disconnect();
  return false;
}

}  // namespace orvane
