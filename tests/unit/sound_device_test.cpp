// The engine on a real sound device: a private PulseAudio server with a null sink, which the
// tests start, kill in the middle of an utterance and start again.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "speech/pulse_sink.hpp"
#include "speech/speech_engine.hpp"

extern char** environ;

namespace orvane {
namespace {

namespace fs = std::filesystem;

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  for (std::size_t from = 0; from <= dirs.size();) {
    const std::size_t to = std::min(dirs.find(':', from), dirs.size());
    if (::access((dirs.substr(from, to - from) + "/" + program).c_str(), X_OK) == 0) return true;
    from = to + 1;
  }
  return false;
}

// A PulseAudio server of the test's own, reached through PULSE_SERVER.
class PulseServer {
 public:
  PulseServer() : dir_(fs::temp_directory_path() / ("orvane-pulse-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
    std::ofstream(dir_ / "default.pa")
        << "load-module module-null-sink sink_name=orvane_null rate=22050 channels=1\n"
        << "set-default-sink orvane_null\n"
        << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << socket() << "\n";
    ::setenv("PULSE_SERVER", ("unix:" + socket().string()).c_str(), 1);
  }
  ~PulseServer() {
    stop();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path socket() const { return dir_ / "native"; }

  // Starts the server and waits until it answers.
  bool start() {
    const std::string home = "HOME=" + dir_.string();
    const std::string runtime = "XDG_RUNTIME_DIR=" + dir_.string();
    const std::string config = (dir_ / "default.pa").string();
    const std::string log = "--log-target=file:" + (dir_ / "log.txt").string();
    std::vector<std::string> args = {
        "pulseaudio",         "-n", "-F", config, "--daemonize=no", "--exit-idle-time=-1",
        "--disable-shm=true", log};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {home, runtime, "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (::posix_spawnp(&pid_, "pulseaudio", nullptr, nullptr, argv.data(), envp.data()) != 0) {
      pid_ = 0;
      return false;
    }
    for (int i = 0; i < 200; ++i) {
      if (std::system("pactl info > /dev/null 2>&1") == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // Stops the server without ending it (a stall: a busy machine, a suspended process), or lets
  // it go on.
  void pause(bool paused) { ::kill(pid_, paused ? SIGSTOP : SIGCONT); }

  // Kills the server outright, as a crash or an unplugged device would end it.
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
    std::error_code ignored;
    fs::remove(socket(), ignored);
  }

 private:
  fs::path dir_;
  pid_t pid_ = 0;
};

constexpr const char* kLongSentence =
    "This sentence is long enough to be still playing when the sound server goes away, and it "
    "goes on for a good while after that, one word after another.";

class SoundDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!onPath("pulseaudio") || !onPath("pactl")) GTEST_SKIP() << "PulseAudio is not installed";
  }
  // An engine on the default sound device; `heard` counts utterances whose sound reached it.
  std::unique_ptr<SpeechEngine> startEngine(std::int32_t mode) {
    EngineOptions options;
    options.onFirstSamples = [this] { ++heard; };
    mode_ = mode;
    return std::make_unique<SpeechEngine>(std::move(options));
  }
  void hand(SpeechEngine& engine, const std::string& text) const {
    engine.speak({text, mode_, SpeechEngine::kDefaultSpeed});
  }
  void say(SpeechEngine& engine, const std::string& text) const {
    hand(engine, text);
    engine.waitUntilIdle();
  }

  PulseServer server;
  std::atomic<int> heard{0};
  std::int32_t mode_ = 0;
};

TEST_F(SoundDevice, ServerThatDiesMidUtteranceIsReportedAndSpeechResumesWithANewOne) {
  ASSERT_TRUE(server.start());
  const auto engine = startEngine(2);
  EXPECT_EQ(engine->lastError(), SpeechEngine::kNoError);
  say(*engine, "first");
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(engine->lastError(), SpeechEngine::kNoError);

  // The server dies while a long sentence plays: the worker must not hang on the lost stream.
  hand(*engine, kLongSentence);
  for (int i = 0; i < 1000 && heard < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(heard, 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  server.stop();
  engine->waitUntilIdle();
  EXPECT_EQ(engine->lastError(), SpeechEngine::kSoundDeviceFailed);

  // With no server at all the drill goes on silently.
  say(*engine, "nobody hears this");
  EXPECT_EQ(engine->lastError(), SpeechEngine::kNoSoundDevice);
  EXPECT_EQ(heard, 2);

  // A server again: the next utterance is played and the error clears.
  ASSERT_TRUE(server.start());
  say(*engine, "back again");
  EXPECT_EQ(heard, 3);
  EXPECT_EQ(engine->lastError(), SpeechEngine::kNoError);
}

TEST_F(SoundDevice, AServerStalledMidUtteranceNeverSilencesWhatComesAfter) {
  ASSERT_TRUE(server.start());
  const auto engine = startEngine(2);
  for (int round = 0; round < 2; ++round) {
    const int before = heard;
    hand(*engine, kLongSentence);
    for (int i = 0; i < 1000 && heard == before; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500 + 200 * round));
    server.pause(true);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    server.pause(false);
    // What follows is heard, and in its time: nothing waits on the stall for good.
    hand(*engine, "after the stall");
    ASSERT_TRUE(engine->waitUntilIdle(std::chrono::milliseconds(3000))) << "round " << round;
    EXPECT_EQ(heard, before + 2) << "round " << round;
  }
}

TEST_F(SoundDevice, StartingWithoutAServerReportsNoDeviceAndFindsOneLater) {
  const auto engine = startEngine(1);  // the server is named but not started
  EXPECT_EQ(engine->lastError(), SpeechEngine::kNoSoundDevice);
  say(*engine, "おはようございます。");
  EXPECT_EQ(heard, 0);

  ASSERT_TRUE(server.start());
  say(*engine, "おはようございます。");
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(engine->lastError(), SpeechEngine::kNoError);
}

TEST_F(SoundDevice, OnlyABreakInsideAnUtteranceCountsAsAnUnderrun) {
  ASSERT_TRUE(server.start());
  PulseSink sink;
  sink.open(22050);
  const std::vector<std::int16_t> tone(22050 / 20, 3000);  // 50 ms
  // Utterances one after another, each played out or cut and the next begun at once: the
  // device runs dry between them, and the server says so after the next has begun.
  for (int i = 0; i < 10; ++i) {
    sink.write(tone.data(), tone.size());
    if (i % 2) {
      sink.endOfUtterance();
    } else {
      sink.flush();
    }
  }
  // A cut, then an utterance whose first piece is shorter than the pre-buffer and the rest
  // late: the server runs dry before it begins, which is no break either.
  sink.write(tone.data(), tone.size());
  sink.flush();
  sink.write(tone.data(), 22);  // 1 ms
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  sink.write(tone.data(), tone.size());
  sink.endOfUtterance();
  EXPECT_EQ(sink.underruns(), 0u);
  // A pause longer than what is written ahead, in the middle of an utterance, is a break.
  sink.write(tone.data(), tone.size());
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  sink.write(tone.data(), tone.size());
  sink.endOfUtterance();
  EXPECT_EQ(sink.underruns(), 1u);
}

}  // namespace
}  // namespace orvane
