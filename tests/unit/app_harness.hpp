// One running program for unit tests: the recording voice, a fake platform, the session and the
// dispatcher every event enters through.
#pragma once

#include <utility>
#include <vector>

#include "app/dispatcher.hpp"
#include "fake_platform.hpp"
#include "sim/recording_speech.hpp"

namespace orvane::testing {

struct Harness {
  explicit Harness(std::vector<VoiceModeInfo> modes) : speech(std::move(modes), 175, 80, 0) {}
  RecordingSpeech speech;
  FakePlatform platform;
  Session session{speech, platform};
  Dispatcher dispatcher{session};
};

}  // namespace orvane::testing
