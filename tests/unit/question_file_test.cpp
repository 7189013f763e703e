#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/error.hpp"
#include "drill/decoder.hpp"
#include "drill/question_file.hpp"
#include "drill/question_record.hpp"

namespace orvane {
namespace {

std::vector<std::string> allLines(QuestionFile& f) {
  std::vector<std::string> lines;
  while (!f.atEnd()) lines.push_back(f.readLine());
  return lines;
}

TEST(QuestionFile, LineEndsAreCrLfOrLfAndLoneCrsAreDropped) {
  QuestionFile f;
  f.openBytes("one\r\ntwo\nthr\ree\r\n\r\nlast");
  EXPECT_EQ(allLines(f), (std::vector<std::string>{"one", "two", "three", "", "last"}));
  EXPECT_EQ(f.readLine(), "");  // past the end: empty, no failure
}

TEST(QuestionFile, NulBytesAreDropped) {
  QuestionFile f;
  f.openBytes(std::string("\0wo\0rd\0\r\n", 9));
  EXPECT_EQ(f.readLine(), "word");
}

TEST(QuestionFile, CtrlZAtTheStartOfALineEndsTheFile) {
  QuestionFile f;
  f.openBytes(
      "a\r\n\x1A"
      "b\r\nc\r\n");
  EXPECT_EQ(f.readLine(), "a");
  EXPECT_TRUE(f.atEnd());
  EXPECT_EQ(f.readLine(), "");
}

TEST(QuestionFile, CtrlZInsideALineIsKeptAsText) {
  QuestionFile f;
  f.openBytes(
      "a\x1A"
      "b\r\n");
  EXPECT_EQ(f.readLine(),
            "a\x1A"
            "b");
}

TEST(QuestionFile, RestIsBlankSeesOnlyEmptyAndBlankLines) {
  QuestionFile f;
  f.openBytes("x\r\n\r\n  \r\n\t\r\n");
  f.readLine();
  EXPECT_TRUE(f.restIsBlank());
  f.openBytes("\r\n\r\nmore\r\n");
  EXPECT_FALSE(f.restIsBlank());
  f.openBytes(
      "\r\n\x1A"
      "text after the end mark");
  EXPECT_TRUE(f.restIsBlank());
}

TEST(QuestionFile, ARunOfEmptyMarkerLinesIsReadInLinearSteps) {
  // Every empty marker line asks whether the rest is blank: each byte is looked at once, not
  // once per line before it.
  for (const std::string& tail : {std::string("x\r\n"), std::string("  \r\n"), std::string()}) {
    const std::string bytes = std::string(200'000, '\n') + tail;
    QuestionFile f;
    f.openBytes(bytes);
    int markers = 0;
    while (readMarker(f) != Marker::End && markers < 300'000) ++markers;
    EXPECT_LE(f.bytesScannedForBlanks(), bytes.size()) << tail;
    EXPECT_EQ(markers, tail.starts_with("x") ? 200'001 : 0) << tail;  // the x line too
  }
}

TEST(QuestionFile, AClosedHandleIsIoError104) {
  QuestionFile f;
  try {
    (void)f.atEnd();
    FAIL() << "expected an I/O error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "I/O エラー (104)");
  }
  EXPECT_THROW(f.readLine(), Error);
}

TEST(QuestionFile, DecodesShiftJisAndMarksInvalidBytes) {
  QuestionFile f;
  // 私は (Shift-JIS), then a lone lead byte at the end of the line, then an undefined byte.
  f.openBytes("\x8E\x84\x82\xCD\r\n\x82\r\n\x80z\r\n\\~\r\n");
  EXPECT_EQ(f.encoding(), Encoding::ShiftJis);
  EXPECT_EQ(f.readLine(), "私は");
  EXPECT_EQ(f.readLine(), "\xEF\xBF\xBD");
  EXPECT_EQ(f.readLine(), "\xEF\xBF\xBDz");
  EXPECT_EQ(f.readLine(), "\\~");  // ASCII stays ASCII
}

TEST(QuestionFile, ReadsUtf8WithAByteOrderMarkOrWhenValidThroughout) {
  QuestionFile f;
  f.openBytes(
      "\xEF\xBB\xBF"
      "1\r\n私は\r\n");
  EXPECT_EQ(f.encoding(), Encoding::Utf8);
  EXPECT_EQ(f.readLine(), "1");
  EXPECT_EQ(f.readLine(), "私は");

  f.openBytes("1\n今日は\n");
  EXPECT_EQ(f.encoding(), Encoding::Utf8);
  f.readLine();
  EXPECT_EQ(f.readLine(), "今日は");

  // With a mark, bytes that are not UTF-8 are shown as replacement characters.
  f.openBytes(
      "\xEF\xBB\xBF"
      "a\xFF\n");
  EXPECT_EQ(f.readLine(), "a\xEF\xBF\xBD");
}

TEST(QuestionFile, ReadsUtf16WithOrWithoutAByteOrderMark) {
  // "1", 私は, 😀 (a surrogate pair), then a lone surrogate, each on a CR LF line.
  const std::u16string text = u"1\r\n私は😀\r\n\xD800x\r\n";
  const auto bytes = [&](bool little, bool mark) {
    std::string out = mark ? (little ? "\xFF\xFE" : "\xFE\xFF") : "";
    for (const char16_t c : text) {
      const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
      out += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
  };
  for (const bool little : {true, false}) {
    for (const bool mark : {true, false}) {
      QuestionFile f;
      f.openBytes(bytes(little, mark));
      EXPECT_EQ(f.encoding(), Encoding::Utf16) << little << mark;
      EXPECT_EQ(f.readLine(), "1");
      EXPECT_EQ(f.readLine(), "私は😀");
      EXPECT_EQ(f.readLine(), "\xEF\xBF\xBDx");
      EXPECT_TRUE(f.atEnd());
    }
  }
  // A last odd byte is shown, never dropped silently; Shift-JIS and UTF-8 are never taken for it.
  EXPECT_EQ(utf16ToUtf8(std::string("a\0b", 3), Utf16Order::LittleEndian), "a\xEF\xBF\xBD");
  for (std::string_view other : {"1\r\n\x8E\x84\x82\xCD\r\n", "1\r\n私は\r\n", "1", ""})
    EXPECT_EQ(guessUtf16(other).order, Utf16Order::None) << other;
}

TEST(QuestionFile, ALongLineIsReadWhole) {
  QuestionFile f;
  const std::string line(10 * 1024 * 1024, 'w');
  f.openBytes(line + "\r\nnext\r\n");
  EXPECT_EQ(f.readLine().size(), line.size());
  EXPECT_EQ(f.readLine(), "next");
}

TEST(QuestionFile, ALargeFileReplacedOrDeletedDuringTheDrillReadsOnAsItWas) {
  namespace fs = std::filesystem;
  const auto path = fs::temp_directory_path() / "orvane-qf-test.dat";
  const std::string filler(QuestionFile::kSnapshotBytes, ' ');
  { std::ofstream(path, std::ios::binary) << "1\r\nprompt\r\n" << filler; }
  QuestionFile f;
  f.open(path.string());
  // An editor's save: a new file renamed over the old one; then it is deleted.
  const auto other = fs::temp_directory_path() / "orvane-qf-test.new";
  { std::ofstream(other, std::ios::binary) << "changed\r\n"; }
  fs::rename(other, path);
  fs::remove(path);
  EXPECT_EQ(f.readLine(), "1");
  EXPECT_EQ(f.readLine(), "prompt");
}

TEST(QuestionFile, EncodingIsGuessedTheSameWhateverPiecesTheFileComesIn) {
  struct Case {
    const char* bytes;
    Encoding expected;
    bool otherPossible;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF"
       "a\xFF",
       Encoding::Utf8, false},  // a byte-order mark decides
      // 今日 in UTF-8: Japanese, though its bytes pair up as Shift-JIS too.
      {"1\n\xE4\xBB\x8A\xE6\x97\xA5\n", Encoding::Utf8, true},
      {"\xEF\xBD\xB1\n", Encoding::Utf8, true},  // ｱ, half-width katakana in UTF-8
      // An English file from a word processor: Don’t “go” — now…
      {"Don\xE2\x80\x99t \xE2\x80\x9Cgo\xE2\x80\x9D \xE2\x80\x94 now\xE2\x80\xA6\n", Encoding::Utf8,
       false},
      // "ﾏｲ ﾃｨ" in Shift-JIS is valid UTF-8 too, but reads as "ϲ è": no Japanese in it.
      {"\xCF\xB2 \xC3\xA8\n", Encoding::ShiftJis, true},
      {"caf\xC3\xA9\n", Encoding::ShiftJis, true},        // no Japanese either
      {"\x8E\x84\x82\xCD\n", Encoding::ShiftJis, false},  // 私は in Shift-JIS
      {"\xE4\xBB", Encoding::ShiftJis, false},            // UTF-8 cut short at the end
      {"plain ascii\n", Encoding::ShiftJis, false},
      // A Shift-JIS kanji whose trail byte no UTF-8 sequence continues: no choice to make.
      {"\xE6\xBC\x41\n", Encoding::ShiftJis, false},
  };
  for (const Case& c : cases) {
    const std::string bytes = c.bytes;
    EXPECT_EQ(guessEncoding(bytes).encoding, c.expected) << bytes;
    EXPECT_EQ(guessEncoding(bytes).otherPossible, c.otherPossible) << bytes;
    for (std::size_t piece : {1, 2, 3}) {
      EncodingSniffer sniffer;
      for (std::size_t i = 0; i < bytes.size(); i += piece) sniffer.feed(bytes.substr(i, piece));
      EXPECT_EQ(sniffer.result().encoding, c.expected) << bytes << " in pieces of " << piece;
    }
  }
  QuestionFile f;
  f.openBytes("1\n\xCF\xB2 \xC3\xA8\n");
  f.readLine();
  EXPECT_EQ(f.readLine(), "\xEF\xBE\x8F\xEF\xBD\xB2 \xEF\xBE\x83\xEF\xBD\xA8");  // ﾏｲ ﾃｨ
}

TEST(QuestionFile, MissingFilesAndFoldersCannotBeOpened) {
  QuestionFile f;
  EXPECT_THROW(f.open("/nonexistent/orvane/toi.dat"), Error);
  EXPECT_FALSE(f.isOpen());
  EXPECT_THROW(f.open(std::filesystem::temp_directory_path().string()), Error);
  EXPECT_FALSE(f.isOpen());
}

}  // namespace
}  // namespace orvane
