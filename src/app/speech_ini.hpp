// speech.ini: three lines of decimal integers (reserved, Japanese voice, English voice), CR LF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_replacement.hpp"

namespace orvane {

struct SpeechIni {
  std::int32_t japaneseVoiceMode = 0;
  std::int32_t englishVoiceMode = 0;
};

// The integer rule of the settings file: optional leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing may follow, and the
// value must fit 32 bits.
std::optional<std::int32_t> parseIniInteger(std::string_view text);

// Reads the settings from file contents. Line 1 is ignored, whatever its length; lines after the
// third too. Throws Error when line 2 or 3 is missing or not an integer.
SpeechIni parseSpeechIni(std::string_view contents);

// Reads `path`, a regular file, as far as its third line; throws Error when it cannot be read or
// is not well-formed.
SpeechIni readSpeechIni(const std::string& path);

// The exact bytes written by the voice dialog.
std::string formatSpeechIni(std::int32_t reserved, const SpeechIni& ini);

}  // namespace orvane
