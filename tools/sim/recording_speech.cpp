#include "sim/recording_speech.hpp"

#include <algorithm>

#include "core/error.hpp"
#include "core/text.hpp"

namespace orvane {

RecordingSpeech::RecordingSpeech(std::vector<VoiceModeInfo> modes, std::int32_t rate,
                                 std::int32_t minRate, std::int32_t lastError)
    : modes_(std::move(modes)), rate_(rate), minRate_(minRate), lastError_(lastError) {}

const VoiceModeInfo& RecordingSpeech::info(std::int32_t mode) const {
  if (mode < 1 || static_cast<std::size_t>(mode) > modes_.size()) throw noSuchVoiceMode(mode);
  return modes_[static_cast<std::size_t>(mode - 1)];
}

void RecordingSpeech::speak(const Utterance& u) {
  if (listener_) listener_(u);
  if (!clockMs_) return;
  const std::int64_t now = *clockMs_;
  // A caption that cuts the one still speaking starts now; anything else waits its turn.
  const bool cuts = u.cutByNextCaption && captionSpeaking_;
  const std::int64_t from = cuts ? now : std::max(now, speechEndsMs_);
  speechEndsMs_ = from + kMsPerCharacter * static_cast<std::int64_t>(text::characterCount(u.text));
  captionSpeaking_ = u.cutByNextCaption;
}

std::int64_t RecordingSpeech::speakingForMs() const {
  return clockMs_ ? std::max<std::int64_t>(0, speechEndsMs_ - *clockMs_) : 0;
}

std::string RecordingSpeech::voiceModeTitle(std::int32_t mode) {
  return info(mode).title;
}
std::int32_t RecordingSpeech::voiceModeLanguage(std::int32_t mode) {
  return info(mode).language;
}

}  // namespace orvane
