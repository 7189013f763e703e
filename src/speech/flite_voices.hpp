// Flite's English voices (Debian's libflite voice libraries, linked in): by the pocketsphinx
// measure far clearer English than eSpeak NG's. Like eSpeak NG, Flite keeps global state: only
// one thread at a time may call it, which the engine's worker sees to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "speech/voice_catalog.hpp"

namespace orvane::flite {

inline constexpr int kSampleRate = 16000;

// rms, slt, awb and kal16, in that order.
std::vector<EngineVoice> voices();

// Receives the samples as they are made; false stops the synthesis.
using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count)>;

// Speaks `text` with the voice `identifier` ("flite/rms"). `wordsPerMinute` is in eSpeak NG's
// units, so that one Speed means the same pace on every voice.
void synthesise(const std::string& identifier, std::int32_t wordsPerMinute, const std::string& text,
                const SampleSink& sink);

}  // namespace orvane::flite
