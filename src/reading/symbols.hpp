// What the Japanese voice is handed after the words are read: kana, the long-vowel mark, blanks
// and the punctuation it pauses on, and nothing else. Signs are said in Japanese (± プラスマイナス,
// ° ド), upper-case abbreviations by their letters' Japanese names (CD シーディー), and whatever
// nothing reads is dropped: never named by its code, never spelled in English.
#pragma once

#include <string>
#include <string_view>

namespace orvane::japanese {

// True for what the Japanese voice may be handed: kana, ー, blanks, and the punctuation it
// pauses on or passes over in silence (、。！？「」…).
bool isSayable(char32_t c);

// `kana` with every sign said in Japanese, digits read as numbers, and everything else the voice
// cannot say dropped; what is dropped and worth a teacher's notice (not punctuation or a blank)
// is added to `dropped`, if given.
std::string sayable(std::string_view kana, std::string* dropped = nullptr);

// A Latin word a Japanese speaker reads letter by letter: one to three upper-case letters (CD,
// PC, OK, ALT), or four with no vowel among them (HTML). Longer ones, or four that can be said
// as a word (NASA, STOP), are English words for the English voice.
bool isAbbreviation(std::string_view word);

// The Japanese names of the letters: CD シーディー.
std::string letterNames(std::string_view word);

}  // namespace orvane::japanese
