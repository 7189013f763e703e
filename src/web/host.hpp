// What the bridge asks of the page: the calls into its JavaScript (the object the page hands the
// module as `orvaneHost`). Strings cross as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::web::host {

void messageBox(const std::string& text, bool error);
void beep();
void showHelp(const std::string& path);
// A transcript line, in test mode.
void transcriptLine(const std::string& line);
// Shift 1, Ctrl 2, Alt 4.
int heldModifiers();
std::int64_t timeOfDayMs();
// Local time as milliseconds since 1970-01-01T00:00:00 local (the results record's clock).
std::int64_t localTimeMs();
// Whether the page's speech is still saying something.
bool speaking();

// The speech of the page.
std::int32_t speechValue(const char* what);  // "defaultRate", "minRate", "lastError", "count"
std::optional<std::string> voiceModeTitle(std::int32_t mode);
std::optional<std::int32_t> voiceModeLanguage(std::int32_t mode);
void speak(std::string_view text, std::int32_t mode, std::int32_t rate, bool cutByNextCaption);
// The captions on show, as a JSON array of strings.
void expectCaptions(std::int32_t mode, std::int32_t rate, const std::string& textsJson);

}  // namespace orvane::web::host
