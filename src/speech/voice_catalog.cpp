#include "speech/voice_catalog.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

namespace orvane {

namespace {
std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix &&
         (s.size() == prefix.size() || s[prefix.size()] == '-');
}
}  // namespace

std::int32_t windowsLanguageId(std::string_view rawTag) {
  const std::string tag = lower(rawTag);
  if (startsWith(tag, "ja")) return 1041;
  if (startsWith(tag, "en-us")) return 1033;
  if (startsWith(tag, "en-gb")) return 2057;
  if (startsWith(tag, "en")) return 9;
  static constexpr std::pair<std::string_view, std::int32_t> kOthers[] = {
      {"de", 1031},  {"fr", 1036}, {"es", 3082},    {"it", 1040}, {"cmn", 2052}, {"zh", 2052},
      {"yue", 3076}, {"ko", 1042}, {"pt-br", 1046}, {"pt", 2070}, {"ru", 1049},  {"nl", 1043},
      {"sv", 1053},  {"fi", 1035}, {"da", 1030},    {"nb", 1044}, {"pl", 1045},  {"cs", 1029},
  };
  for (const auto& [prefix, id] : kOthers) {
    if (startsWith(tag, prefix)) return id;
  }
  return 0;
}

VoiceMode voiceModeOf(const EngineVoice& v) {
  return {
      v.name,  windowsLanguageId(v.language), v.identifier, lower(v.language), v.clearestEnglish,
      v.source};
}

std::vector<VoiceMode> orderVoiceModes(const std::vector<EngineVoice>& voices) {
  std::vector<VoiceMode> modes;
  for (const EngineVoice& v : voices) modes.push_back(voiceModeOf(v));
  const auto firstJapanese =
      std::find_if(modes.begin(), modes.end(), [](const VoiceMode& m) { return m.japanese(); });
  if (firstJapanese != modes.end()) std::rotate(modes.begin(), firstJapanese, firstJapanese + 1);
  const auto rest = modes.begin() + (firstJapanese != modes.end() ? 1 : 0);
  const auto rank = [](const VoiceMode& m) {
    if (m.clearestEnglish && m.english()) return 0;
    if (m.language == "en-us") return 1;
    return m.english() ? 2 : 3;
  };
  // Each rank keeps the order the voices came in.
  std::stable_sort(rest, modes.end(),
                   [&](const VoiceMode& a, const VoiceMode& b) { return rank(a) < rank(b); });
  return modes;
}

}  // namespace orvane
