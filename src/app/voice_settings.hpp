// The voice dialog (two lists of installed voice modes, by language), its OK and Cancel, and the
// listing of every installed voice mode.
#pragma once

#include <cstdint>

#include "app/session.hpp"

namespace orvane {

enum class VoiceLanguage { Japanese, English, Other };

// Windows language identifiers: 17, 1041 and 2065 are Japanese; 9, 1033 and 2057 English.
VoiceLanguage classifyLanguage(std::int32_t languageId);

void openVoiceDialog(Session& s);
// While the dialog is loading: once the server's voices have come (or been given up), the lists
// are made again with them, keeping the voices selected; true when they were.
bool refreshVoiceDialog(Session& s);
// OK: takes the selected voices and writes speech.ini. A failed write throws; the dialog stays
// open and the voices chosen are already in use.
void acceptVoiceDialog(Session& s);
// Cancel, or the close box.
void cancelVoiceDialog(Session& s);
// Selects item `pos` of list 1 (Japanese) or 2 (English); false when there is no such item.
bool selectVoiceItem(Session& s, int list, int pos);

void showVoiceCount(Session& s);

// At start: a speech.ini voice past the built-in ones wants its server started; one that is not
// there is said once, with the voice used instead.
void checkNamedVoices(Session& s);

}  // namespace orvane
