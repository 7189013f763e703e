#include "sim/recording_speech.hpp"

#include "core/error.hpp"

namespace orvane {

RecordingSpeech::RecordingSpeech(std::vector<VoiceModeInfo> modes, std::int32_t rate,
                                 std::int32_t minRate, std::int32_t lastError)
    : modes_(std::move(modes)), rate_(rate), minRate_(minRate), lastError_(lastError) {}

const VoiceModeInfo& RecordingSpeech::info(std::int32_t mode) const {
  if (mode < 1 || static_cast<std::size_t>(mode) > modes_.size()) throw noSuchVoiceMode(mode);
  return modes_[static_cast<std::size_t>(mode - 1)];
}

std::string RecordingSpeech::voiceModeTitle(std::int32_t mode) {
  return info(mode).title;
}
std::int32_t RecordingSpeech::voiceModeLanguage(std::int32_t mode) {
  return info(mode).language;
}

}  // namespace orvane
