// What the Japanese voice is handed for characters beyond kana, kanji and ASCII: full-width
// letters, numbers of one character, signs, compatibility forms, other scripts' digits, kanji
// numbers past 2^64, abbreviations; and that nothing else ever reaches it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/text.hpp"
#include "reading/japanese_reading.hpp"
#include "reading/reading_pieces.hpp"
#include "reading/symbols.hpp"
#include "reading/unread_characters.hpp"

namespace orvane {
namespace {

struct Case {
  const char* text;
  const char* reading;
};

constexpr Case kCharacters[] = {
    // Full-width Latin as its half-width form: an abbreviation by its letters, a word in English.
    {"ＤＶＤを見た。", "ディーブイディーヲミタ。"},
    {"ＳＴＵＤＹは勉強です。", "STUDY ワベンキョーデス。"},
    // Up to three capitals, or four without a vowel, are letters; the rest are English words.
    {"CDを買った。", "シーディーヲカッタ。"},
    {"PCを使う。", "ピーシーヲツカウ。"},
    {"OKです。", "オーケーデス。"},
    {"ALTの先生", "エーエルティーノセンセイ"},
    {"Aさん", "エーサン"},
    {"HTMLを書く", "エイチティーエムエルヲカク"},
    {"NASAの話", "NASA ノハナシ"},
    {"STOPと書く", "STOP トカク"},
    {"I like CD", "I like CD"},
    {"caféに行く", "cafe ニイク"},  // accents folded: one English word
    // Numbers of one character, each a number of its own.
    {"①の問題", "イチノモンダイ"},
    {"①②③", "イチ ニ サン"},
    {"⑴", "イチ"},
    {"⒈", "イチ"},
    {"㉑", "ニジューイチ"},
    {"❶", "イチ"},
    {"Ⅻ", "ジューニ"},
    {"①番", "イチバン"},
    // Fractions and signs in Japanese.
    {"½", "ニブンノイチ"},
    {"1½", "イチトニブンノイチ"},
    {"⅖6個", "ゴブンノニ ロッコ"},
    {"±", "プラスマイナス"},
    {"3×4", "サンカケルヨン"},
    {"10²", "ジューノニジョー"},
    {"東京—大阪", "トーキョー、オーサカ"},
    // Compatibility forms through NFKC, and the company kinds as words.
    {"㈱", "カブシキガイシャ"},
    {"㍿", "カブシキガイシャ"},
    {"㊀", "イチ"},
    {"⼗⼆⽉", "ジューニガツ"},
    {"㌔", "キロ"},
    {"Ⓐ", "エー"},
    // Other scripts' digits.
    {"٣", "サン"},
    {"३", "サン"},
    {"𝟓", "ゴ"},
    {"٢٠٢٦年", "ニセンニジューロクネン"},
    // Kanji numbers past 2^64, myriad by myriad; an everyday word stays a word.
    {"九千京", "キューセンケー"},
    {"1垓", "イチガイ"},
    {"1845京", "センハッピャクヨンジューゴケー"},
    {"一垓二千京", "イチガイニセンケー"},
    {"1無量大数", "イチムリョータイスー"},
    {"一極集中", "イッキョクシューチュー"},
    {"正の数", "セイノカズ"},
    // What nothing reads is dropped; bytes that are no UTF-8 are a pause.
    {"㐀㐁㐂です。", "デス。"},
    {"♪", ""},
    {"今日は\xff七時です。", "キョーワ シチジデス。"},
};

TEST(CharacterReading, EveryCharacterIsReadInJapaneseOrDropped) {
  JapaneseReader reader;
  ASSERT_TRUE(reader.hasDictionary());
  for (const Case& c : kCharacters) {
    const auto segments = reader.read(c.text);
    EXPECT_EQ(readingLine(segments), c.reading) << c.text;
    for (const ReadingSegment& s : segments) {
      for (std::string_view ch : text::characters(s.text)) {
        EXPECT_TRUE(s.latin || japanese::isSayable(text::codePoint(ch))) << c.text << ": " << ch;
      }
    }
  }
}

TEST(CharacterReading, WhatIsDroppedIsNamedForTheTeacher) {
  JapaneseReader reader;
  const std::pair<const char*, const char*> cases[] = {
      {"㐀㐁です。", "㐀㐁"},
      {"①の問題😀", "😀"},
      {"「はい」※と言った。", ""},  // punctuation the voice passes over is no loss
      {"私は学生です。", ""},
  };
  for (const auto& [text, dropped] : cases) {
    std::string got;
    reader.read(text, &got);
    EXPECT_EQ(got, dropped) << text;
  }
  EXPECT_EQ(unreadCharactersFinding(reader, "私は学生です。"), "");
  const std::string finding = unreadCharactersFinding(reader, "①の㐀問題😀㐀");
  EXPECT_NE(finding.find("「㐀」(U+3400)「😀」(U+1F600)は"), std::string::npos) << finding;
}

TEST(CharacterReading, ALongTextReadsInPiecesAsItReadsWhole) {
  JapaneseReader reader;
  std::string text, expected;
  for (int i = 0; i < 300; ++i)
    text += "今日は七時です。Tom 12本", expected += "キョーワシチジデス。";
  text += std::string(5000, '7');  // no place to cut: cut anyway, read digit by digit
  const std::string line = readingLine(reader.read(text));
  EXPECT_TRUE(line.starts_with("キョーワシチジデス。 Tom ジューニホンキョーワ"))
      << line.substr(0, 80);
  EXPECT_TRUE(line.ends_with("ナナナナ")) << line.substr(line.size() - 40);
  // Handed over in parts of any size, the stream writes the same.
  for (std::size_t part : {1u, 7u, 1000u, 100000u}) {
    std::string written;
    japanese::ReadingStream stream(reader, [&](std::string_view s) { written += s; });
    for (std::size_t i = 0; i < text.size(); i += part) stream.add(text.substr(i, part));
    stream.finish();
    EXPECT_EQ(written, line) << part;
  }
}

}  // namespace
}  // namespace orvane
