// Long texts in pieces a synthesiser analyses in bounded time. Flite and eSpeak NG analyse a
// whole sentence before its first sample, and the time grows fast with a sentence's length: a
// line of 4,000 digits kept the voice silent for half a minute. Spoken piece by piece, any text
// starts at once and takes time in proportion to its length.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Digits in a run longer than this are read in groups of four.
inline constexpr std::size_t kLongestDigitRun = 8;

// `text` in pieces: a text of at most `limit` bytes is one piece, unchanged but for long digit
// runs. A longer one starts with a piece of at most `first` bytes, which the synthesiser
// analyses in a moment, and each piece after may be twice as long as the one before, up to
// `limit`: the next piece is ready long before the one before it has been heard. Each piece is
// cut after a sentence mark, or else at a blank or comma, where one lies in its second half,
// and otherwise between two characters.
std::vector<std::string> speakablePieces(std::string_view text, std::size_t first,
                                         std::size_t limit);

}  // namespace orvane
