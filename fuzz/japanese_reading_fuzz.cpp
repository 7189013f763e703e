// Fuzzes the Japanese reader: any prompt, however long its numbers, gives the Japanese voice
// kana it can say, with no digit or ideograph left in it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/text.hpp"
#include "reading/japanese_reading.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvane::JapaneseReader reader;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const orvane::ReadingSegment& s : reader.read(text)) {
    if (s.latin || !orvane::text::isValidUtf8(text)) continue;
    if (orvane::withoutIdeographs(s.text) != s.text) __builtin_trap();
    for (char c : s.text) {
      if (c >= '0' && c <= '9') __builtin_trap();
    }
  }
  return 0;
}
