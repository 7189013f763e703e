// Fuzzes the speech.ini reader and its integer rule.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/speech_ini.hpp"
#include "core/error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const orvane::SpeechIni ini = orvane::parseSpeechIni(text);
    // What is read back is what is written.
    const auto again = orvane::parseSpeechIni(orvane::formatSpeechIni(0, ini));
    if (again.japaneseVoiceMode != ini.japaneseVoiceMode ||
        again.englishVoiceMode != ini.englishVoiceMode) {
      __builtin_trap();
    }
  } catch (const orvane::Error&) {
  }
  (void)orvane::parseIniInteger(text);
  return 0;
}
