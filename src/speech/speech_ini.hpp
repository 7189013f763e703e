// speech.ini: three lines of decimal integers (reserved, Japanese voice, English voice), CR LF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// Replaces the contents of `path` safely: a new file is written and synced beside it (under
// savingPath), then renamed over the old one, so a failure or a kill never leaves a truncated
// or empty file behind. A link is followed to the file it names. Only a regular file is ever
// replaced, and only one the user may write. The old file's mode, owner and group are kept; a
// file with hard links, whose owner cannot be kept, or in a folder the user may not write in is
// rewritten in place instead. Throws Error with the reason when a step fails; nothing is
// touched when the file may not be written.
void writeFileReplacing(const std::string& path, std::string_view contents);

// The file a save writes before it renames it over `target`.
std::string savingPath(const std::string& target);

}  // namespace orvane
