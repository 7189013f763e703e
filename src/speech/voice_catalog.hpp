// The voice modes the real engine offers: every voice of its sources, numbered in a stable
// order with Japanese first and English (America) second, so a speech.ini of 0, 1, 2 means
// "Japanese, English" on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct EngineVoice {
  std::string name;        // "English (America)"
  std::string identifier;  // "gmw/en-US", "mb/mb-en1", "flite/rms"
  std::string language;    // "en-us"
  // Among the clearest English voices there are: these come first of the English modes.
  bool clearestEnglish = false;
  std::size_t source = 0;  // the engine's voice source that speaks it
};

struct VoiceMode {
  std::string title;
  std::int32_t languageId;
  std::string identifier;
  std::string language;
  bool clearestEnglish = false;
  std::size_t source = 0;
  bool english() const { return language == "en" || language.rfind("en-", 0) == 0; }
  bool japanese() const { return language == "ja" || language.rfind("ja-", 0) == 0; }
};

// The Windows language identifier of a language tag: ja 1041, en-us 1033, en-gb 2057 (and its
// regional variants), other English 9, a few common languages their own, everything else 0.
std::int32_t windowsLanguageId(std::string_view tag);

// Orders the voices: the first Japanese voice; then the clearest English voices (Flite's, rms
// first, the drill's English voice); then the other English voices, English (America) first; then
// the rest as given.
std::vector<VoiceMode> orderVoiceModes(const std::vector<EngineVoice>& voices);

// The voice mode of one voice, in its place.
VoiceMode voiceModeOf(const EngineVoice& voice);

}  // namespace orvane
