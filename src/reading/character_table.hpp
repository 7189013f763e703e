// Characters the reader reads as something else, from Unicode's own data (NFKC forms, digits and
// numeric values): the table is made by the build (make_character_table.py), so it is Unicode's
// word, not ours, and costs nothing at start.
#pragma once

#include <cstddef>

namespace orvane::japanese {

enum class CharacterKind {
  Text,         // read as its compatibility form: Ｄ D, ⼀ 一, ㍿ 株式会社, ℃ °C, ㎞ km
  Digit,        // a decimal digit of another script, which joins the digits beside it: ٣ ३ 𝟓
  Number,       // a number of its own, apart from the digits beside it: ① ⑴ ㉑ ❶ Ⅻ ㊀
  Fraction,     // numerator/denominator: ½ 1/2
  Superscript,  // a superscript digit: ² 2
};

struct CharacterForm {
  char32_t code;
  CharacterKind kind;
  const char* text;  // UTF-8
};

struct CodeRange {
  char32_t first, last;
};

// Sorted by code.
extern const CharacterForm kCharacterForms[];
extern const std::size_t kCharacterFormCount;
// Punctuation, blanks, format characters and combining marks, sorted.
extern const CodeRange kQuietRanges[];
extern const std::size_t kQuietRangeCount;

// The form of `c`, or null when it reads as it stands.
const CharacterForm* characterForm(char32_t c);

// True for punctuation, blanks, format characters and combining marks: nothing a listener
// misses when the voice passes over them.
bool isQuiet(char32_t c);

}  // namespace orvane::japanese
