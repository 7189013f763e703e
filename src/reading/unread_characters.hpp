// What orvane-check tells a teacher about a prompt whose characters the Japanese voice would
// drop (a rare kanji MeCab does not know, an emoji, a letter of another script).
#pragma once

#include <string>
#include <string_view>

namespace orvane {

class JapaneseReader;

// The finding for `prompt`, in Japanese, naming each character dropped (the first five, once
// each, with its code point, so that an invisible one can be found too); empty when the voice
// reads every character.
std::string unreadCharactersFinding(JapaneseReader& reader, std::string_view prompt);

}  // namespace orvane
