#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "speech/ssip_listing.hpp"

namespace orvane::ssip {
namespace {

// A speech server of the test's own on a Unix socket: it answers the client name and the
// module list as a server does, then the voice list of each module with `voices(send)`.
class FakeServer {
 public:
  explicit FakeServer(std::function<void(const std::function<bool(const std::string&)>&)> voices)
      : path_(std::filesystem::temp_directory_path() /
              ("orvane-ssip-" + std::to_string(::getpid()) + ".sock")) {
    std::filesystem::remove(path_);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    std::strncpy(where.sun_path, path_.c_str(), sizeof where.sun_path - 1);
    ::bind(listener_, reinterpret_cast<const sockaddr*>(&where), sizeof where);
    ::listen(listener_, 1);
    thread_ = std::thread([this, voices] {
      const int fd = ::accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      const auto send = [fd](const std::string& s) {
        return ::send(fd, s.data(), s.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(s.size());
      };
      std::string in;
      char c;
      while (::recv(fd, &c, 1, 0) == 1) {
        if (c != '\n') {
          in += c;
          continue;
        }
        if (in.starts_with("LIST OUTPUT_MODULES")) {
          send("250-espeak-ng\r\n250 OK MODULE LIST SENT\r\n");
        } else if (in.starts_with("LIST SYNTHESIS_VOICES")) {
          voices(send);
        } else if (in.starts_with("QUIT")) {
          break;
        } else {
          send("200 OK\r\n");
        }
        in.clear();
      }
      ::close(fd);
    });
  }
  ~FakeServer() {
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
    std::filesystem::remove(path_);
  }
  std::string path() const { return path_; }

 private:
  std::string path_;
  int listener_ = -1;
  std::thread thread_;
};

TEST(SsipListing, AServerThatSendsWithoutEndNeverHoldsTheListing) {
  using Send = std::function<bool(const std::string&)>;
  struct Case {
    const char* what;
    std::function<void(const Send&)> voices;
    std::size_t listed;
  };
  // Made before any clock runs: the sanitizers make it slow.
  std::string manyVoices;
  for (int i = 0; i < 200000; ++i) manyVoices += "249-v" + std::to_string(i) + "\ten\tnone\r\n";
  manyVoices += "249 OK\r\n";
  const Case cases[] = {
      {"a module's voices",
       [](const Send& send) {
         send("249-English\ten\tnone\r\n249-German\tde\tnone\r\n249 OK\r\n");
       },
       2},
      {"a line without end",
       [](const Send& send) {
         send("249-English\ten\tnone\r\n249-");
         const std::string junk(64 * 1024, 'x');
         for (int i = 0; i < 1000 && send(junk); ++i) {
         }
       },
       0},
      {"more voices than are kept", [&manyVoices](const Send& send) { send(manyVoices); },
       kMaxVoices},
      {"a voice a millisecond, for ever",
       [](const Send& send) {
         while (send("249-Slow\ten\tnone\r\n"))
           std::this_thread::sleep_for(std::chrono::milliseconds(1));
       },
       0},
  };
  for (const Case& c : cases) {
    FakeServer server(c.voices);
    const auto start = std::chrono::steady_clock::now();
    const auto voices = listVoices(server.path(), 2000, 500);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.what;
    ASSERT_TRUE(voices.has_value()) << c.what;
    EXPECT_EQ(voices->size(), c.listed) << c.what;
  }
}

}  // namespace
}  // namespace orvane::ssip
