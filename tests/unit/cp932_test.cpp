// The WebAssembly build decodes Shift-JIS through a table made from glibc's iconv; the desktop
// through iconv itself. Every byte and every byte pair, alone and between ASCII, must come out
// the same both ways, or a lesson would read differently in the browser.
#include <gtest/gtest.h>

#include <string>

#include "drill/cp932.hpp"
#include "drill/decoder.hpp"

namespace orvane {
namespace {

TEST(Cp932Table, DecodesEveryByteAndBytePairAsIconvDoes) {
  LineDecoder iconv(Encoding::ShiftJis);
  int differences = 0;
  auto check = [&](const std::string& raw) {
    const std::string want = iconv.decode(raw), got = cp932::decode(raw);
    if (got != want && ++differences <= 5) {
      ADD_FAILURE() << "bytes " << testing::PrintToString(raw) << ": iconv "
                    << testing::PrintToString(want) << ", table " << testing::PrintToString(got);
    }
  };
  for (int a = 0; a < 256; ++a) {
    const char first = static_cast<char>(a);
    check(std::string(1, first));
    // A lead byte at the end of a line, and before a byte that cannot follow it.
    check(std::string("A") + first);
    check(std::string(1, first) + '\n');
    for (int b = 0; b < 256; ++b) check(std::string{first, static_cast<char>(b), 'x'});
  }
  EXPECT_EQ(differences, 0);
}

TEST(Cp932Table, ReadsTheRowsOtherShiftJisTablesLack) {
  // NEC row 13 (① ㈱ №), an IBM extension kanji (髙), and the tilde and minus that CP932 maps
  // to full-width forms where plain Shift-JIS has the wave dash and the minus sign.
  EXPECT_EQ(cp932::decode("\x87\x40\x87\x8A\x87\x82\xFB\xFC\x81\x60\x81\x7C"), "①㈱№髙～－");
}

}  // namespace
}  // namespace orvane
