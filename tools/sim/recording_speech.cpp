#include "sim/recording_speech.hpp"

#include "core/error.hpp"

namespace orvane {

RecordingSpeech::RecordingSpeech(std::vector<VoiceModeInfo> modes, std::int32_t speed,
                                 std::int32_t minSpeed, std::int32_t lastError)
    : modes_(std::move(modes)), speed_(speed), minSpeed_(minSpeed), lastError_(lastError) {}

void RecordingSpeech::sayText(const std::string& text) {
  if (listener_) listener_({mode_, speed_, text});
}

const VoiceModeInfo& RecordingSpeech::info(std::int32_t mode) const {
  if (mode < 1 || mode > modeCount()) throw noSuchVoiceMode(mode);
  return modes_[static_cast<std::size_t>(mode - 1)];
}

std::string RecordingSpeech::voiceModeTitle(std::int32_t mode) {
  return info(mode).title;
}
std::int32_t RecordingSpeech::voiceModeLanguage(std::int32_t mode) {
  return info(mode).language;
}

}  // namespace orvane
