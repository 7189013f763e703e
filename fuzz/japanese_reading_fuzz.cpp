// Fuzzes the Japanese reader: any prompt, valid UTF-8 or not, however long its numbers, gives the
// Japanese voice only what it can say (kana, ー, blanks and the punctuation it pauses on: no
// digit, ideograph, Latin letter, sign or invalid byte), and the English voice only Latin words.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/text.hpp"
#include "reading/japanese_reading.hpp"
#include "reading/symbols.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvane::JapaneseReader reader;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const orvane::ReadingSegment& s : reader.read(text)) {
    if (!orvane::text::isValidUtf8(s.text)) __builtin_trap();
    if (s.latin) {
      for (char c : s.text) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter && !(c >= '0' && c <= '9') && c != ' ' && c != '\'' && c != '-')
          __builtin_trap();
      }
      continue;
    }
    for (std::string_view ch : orvane::text::characters(s.text)) {
      if (!orvane::japanese::isSayable(orvane::text::codePoint(ch))) __builtin_trap();
    }
  }
  return 0;
}
