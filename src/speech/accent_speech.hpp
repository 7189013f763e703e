// The pitch accent as eSpeak NG's Japanese voice follows it. The voice is handed SSML, with its own
// intonation off (its pitch range at 0, a flat base): each run of high morae raised, the highs of
// each phrase after an accented one lower than before (downstep, undone at a sentence's end), and
// the last mora of a question raised. A run is never cut just before ー or a phrase's final ン, nor
// right after ッ, which the voice would drop or break. Each run boundary costs the voice a short
// pause, which a slightly faster rate (kAccentRatePercent) takes back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct AccentPiece {
  std::string ssml;  // what the voice is handed
  std::string kana;  // what it says, without marks
};

// Kana marked with the accent (accent.hpp) as SSML, in pieces cut between accent phrases of
// about `pieceBytes` of kana each (every piece the voice is handed ends in a pause, so a prompt
// is one piece).
std::vector<AccentPiece> accentPieces(std::string_view marked, std::size_t pieceBytes = 192);

// The rate accented speech is handed at, in percent of the rate asked for.
inline constexpr int kAccentRatePercent = 115;
// How much higher a high run is than the base, in percent, at the start of a sentence.
inline constexpr int kHighPercent = 45;

}  // namespace orvane
