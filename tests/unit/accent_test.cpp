#include "reading/accent.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "core/text.hpp"
#include "speech/accent_speech.hpp"

namespace orvane {
namespace {

// Words as the accent dictionary gives them: part of speech, subclass, pronunciation, accent,
// chain rule.
AccentWord w(const char* pos, const char* sub, const char* kana, int nucleus, const char* rule) {
  return {"", pos, sub, kana, nucleus, static_cast<int>(morae(kana).size()), rule, "", ""};
}
const char* kParticleDe = "動詞%F1";
const char* kParticleO = "動詞%F5/名詞%F1";
const char* kParticleNi = "動詞%F5/形容詞%F1/名詞%F1";
const char* kMasu = "動詞%F4@1/助詞%F2@1";
const char* kDesu = "名詞%F2@1/動詞%F1/形容詞%F2@0";

TEST(Accent, PhrasesFollowTheWordsAndHowTheyJoin) {
  const struct {
    std::vector<AccentWord> words;
    const char* accent;
  } cases[] = {
      // Minimal pairs in one frame: the noun's own accent carries the particle.
      {{w("名詞", "一般", "ハシ", 1, "C3"), w("助詞", "格助詞", "デ", 1, kParticleDe)}, "ハ'シデ"},
      {{w("名詞", "一般", "ハシ", 2, "C3"), w("助詞", "格助詞", "オ", 0, kParticleO)}, "ハシ'オ"},
      {{w("名詞", "一般", "ハシ", 0, "C1"), w("助詞", "格助詞", "ニ", 0, kParticleNi)}, "ハシニ"},
      // ます takes the accent whatever the verb's; です after a flat noun does too.
      {{w("動詞", "自立", "タベ", 2, "*"), w("助動詞", "*", "マス", 1, kMasu)}, "タベマ'ス"},
      {{w("動詞", "自立", "ワタリ", 0, "*"), w("助動詞", "*", "マス", 1, kMasu)}, "ワタリマ'ス"},
      {{w("名詞", "一般", "ガクセー", 0, "C2"), w("助動詞", "*", "デス", 1, kDesu)},
       "ガクセーデ'ス"},
      {{w("名詞", "一般", "アメ", 1, "C3"), w("助動詞", "*", "デス", 1, kDesu)}, "ア'メデス"},
      // A numeral and its counter are one word; a compound's fall never lands on ン.
      {{w("名詞", "数", "ロク", 2, "C3"), w("名詞", "接尾", "ジ", 1, "C3")}, "ロク'ジ"},
      // 人 after a numeral falls after its first mora; 二人, said フタリ, on its last.
      {{w("名詞", "数", "サン", 0, "C3"), w("名詞", "接尾", "ニン", 1, "C3")}, "サンニ'ン"},
      {{w("名詞", "数", "ニ", 1, "C3"), w("名詞", "接尾", "ニン", 1, "C3")}, "ニニン'"},
      {{w("名詞", "一般", "ユービン", 0, "C2"), w("名詞", "接尾", "キョク", 1, "C3")},
       "ユービ'ンキョク"},
      // An adjective's past: the fall comes back two morae.
      {{w("形容詞", "自立", "タカカッ", 2, "*"),
        w("助動詞", "*", "タ", 0, "動詞%F2@1/形容詞%F4@-2")},
       "タカ'カッタ"},
      // Two phrases, and a sign between words ends a phrase.
      {{w("名詞", "一般", "ハシ", 1, "C3"), w("助詞", "格助詞", "デ", 1, kParticleDe),
        w("動詞", "自立", "タベ", 2, "*"), w("助動詞", "*", "マス", 1, kMasu)},
       "ハ'シデ/タベマ'ス"},
      {{w("名詞", "一般", "ハシ", 2, "C3"), w("記号", "一般", "", 0, "*"),
        w("名詞", "一般", "ハシ", 2, "C3")},
       "ハシ'/ハシ'"},
  };
  for (const auto& c : cases) EXPECT_EQ(accentPhrases(c.words), c.accent) << c.accent;
}

TEST(Accent, MarksGoOntoTheReadersOwnKana) {
  const struct {
    const char* kana;
    const char* accented;
    const char* marked;
  } cases[] = {
      {"ハシデタベマス。", "ハ'シデ/タベマ'ス", "ハ'シデ/タベマ'ス。"},
      {"ハシヲワタリマス。", "ハシ'オ/ワタリマ'ス", "ハシ'ヲ/ワタリマ'ス。"},  // を read ヲ
      {"キョーワ、アメ", "キョ'ーワ/ア'メ", "キョ'ーワ、ア'メ"},
      // The reader reads 九時 クジ, the dictionary キュージ: the marks follow the line-up.
      {"クジニオキル", "キュ'ージニ/オキ'ル", "ク'ジニ/オキ'ル"},
      // DVD, which the dictionary does not read: its kana start the phrase of the particle.
      {"ワタシワディーブイディーヲミマシタ", "ワタシワ/オ/ミマ'シタ",
       "ワタシワ/ディーブイディーヲ/ミマ'シタ"},
      {"シーディートピーシーヲ", "ト/オ", "シーディート/ピーシーヲ"},
      {"", "ハ'シ", ""},
      {"アメ", "", "アメ"},
  };
  for (const auto& c : cases) EXPECT_EQ(markAccent(c.kana, c.accented), c.marked) << c.kana;

  std::vector<ReadingSegment> segments = {{false, "ワタシワ"}, {true, "Tom"}, {false, "デス。"}};
  markSegments(segments, "ワタシワ/デ'ス");
  EXPECT_EQ(readingLine(segments), "ワタシワ Tom デ'ス。");
}

TEST(Accent, TheVoiceIsHandedHighRunsWithDownstepAndAQuestionsRise) {
  const struct {
    const char* marked;
    const char* ssml;
  } cases[] = {
      {"ハ'シデ/タベマ'ス。",
       "<speak><prosody pitch=\"+45%\">ハ</prosody>シデタ<prosody pitch=\"+31%\">ベマ</prosody>"
       "ス。</speak>"},
      // Flat: low then high; the highs are back up after a sentence's end.
      {"ハシニ。ハシニ",
       "<speak>ハ<prosody pitch=\"+45%\">シニ</prosody>。ハ<prosody "
       "pitch=\"+45%\">シニ</prosody></speak>"},
      // ー and a final ン keep the mora before's pitch, ッ the mora after's.
      {"ガクセー/ニホン",
       "<speak>ガ<prosody pitch=\"+45%\">クセー</prosody>ニ<prosody "
       "pitch=\"+45%\">ホン</prosody></speak>"},
      {"キッテ", "<speak>キ<prosody pitch=\"+45%\">ッテ</prosody></speak>"},
      {"イキマ'スカ？",
       "<speak>イ<prosody pitch=\"+45%\">キマ</prosody>ス<prosody "
       "pitch=\"+50%\">カ</prosody>？</speak>"},
      {"A&B<C>", "<speak>A&amp;B&lt;C&gt;</speak>"},
  };
  for (const auto& c : cases) {
    const std::vector<AccentPiece> pieces = accentPieces(c.marked);
    ASSERT_EQ(pieces.size(), 1u) << c.marked;
    EXPECT_EQ(pieces[0].ssml, c.ssml) << c.marked;
  }
  // Long texts in pieces cut between phrases, saying every kana once.
  std::string marked, kana;
  for (int i = 0; i < 100; ++i) marked += "ハ'シデ/", kana += "ハシデ";
  std::string said;
  const std::vector<AccentPiece> pieces = accentPieces(marked, 60);
  for (const AccentPiece& p : pieces) said += p.kana;
  EXPECT_GT(pieces.size(), 10u);
  EXPECT_EQ(said, kana);
}

// Through the dictionaries the program uses: readings stay the reader's, accents are the
// standard ones.
TEST(Accent, PromptsReadAsBeforeWithTheirStandardAccent) {
  AccentDictionary accents;
  if (!accents.available()) GTEST_SKIP() << accents.problem();
  JapaneseReader reader;
  const struct {
    const char* prompt;
    const char* marked;
  } cases[] = {
      {"箸で食べます。", "ハ'シデ/タベマ'ス。"},
      {"橋を渡ります。", "ハシ'ヲ/ワタリマ'ス。"},
      {"雨が降りました。", "ア'メガ/フリマ'シタ。"},
      {"六時に起きたいです。", "ロク'ジニ/オキタ'イデス。"},
      {"高かったです。", "タカ'カッタデス。"},
      {"朝ご飯を食べませんでした。", "アサゴ'ハンヲ/タベマセ'ンデシタ。"},
      // The reader's 一人 ヒトリ and 九時 クジ, where the dictionary reads イチニン, キュージ.
      {"一人で九時に郵便局へ行きますか？", "ヒト'リデ/ク'ジニ/ユービ'ンキョクエ/イキマ'スカ？"},
  };
  for (const auto& c : cases) {
    std::vector<ReadingSegment> segments = reader.read(c.prompt);
    const std::string plain = readingLine(segments);
    markSegments(segments, accents.phrases(c.prompt));
    const std::string marked = readingLine(segments);
    EXPECT_EQ(marked, c.marked) << c.prompt;
    std::string unmarked;
    for (char ch : marked) {
      if (ch != '\'' && ch != '/') unmarked += ch;
    }
    EXPECT_EQ(unmarked, plain) << c.prompt;
  }
}

// High or low, mora by mora, of kana marked with their accent: a phrase starts low unless it
// falls after its first mora, and is high up to its fall.
std::vector<bool> highs(const std::string& marked) {
  std::vector<bool> out;
  std::size_t start = 0;  // the phrase's first mora in out
  int fall = 0;
  const auto close = [&] {
    for (std::size_t k = start; k < out.size(); ++k) {
      const int at = static_cast<int>(k - start) + 1;
      out[k] = fall == 1 ? at == 1 : at > 1 && (fall == 0 || at <= fall);
    }
    start = out.size(), fall = 0;
  };
  for (std::string_view ch : text::characters(marked)) {
    if (ch == "'") {
      fall = static_cast<int>(out.size() - start);
    } else if (!isKatakana(ch)) {
      close();
    } else if (!isSmallKana(ch)) {
      out.push_back(false);
    }
  }
  close();
  return out;
}

// The fall of each phrase of `marked`: the mora it comes after, counted from the text's start, or
// the phrase's start for none.
std::vector<std::pair<std::size_t, std::size_t>> phraseFalls(const std::string& marked) {
  std::vector<std::pair<std::size_t, std::size_t>> out;  // (phrase start, fall)
  std::size_t mora = 0;
  bool open = false;
  for (std::string_view ch : text::characters(marked)) {
    if (ch == "'") {
      out.back().second = mora;
    } else if (!isKatakana(ch)) {
      open = false;
    } else if (!isSmallKana(ch)) {
      if (!open) out.push_back({mora, mora}), open = true;
      ++mora;
    }
  }
  return out;
}

// On the project's own drill prompts with their standard accent: how often each mora's pitch is
// right, and each phrase's fall.
TEST(Accent, DrillPromptsAgreeWithTheirStandardAccent) {
  AccentDictionary accents;
  if (!accents.available()) GTEST_SKIP() << accents.problem();
  JapaneseReader reader;
  std::ifstream file(ORVANE_SOURCE_DIR "/tests/data/accent_prompts.tsv");
  std::size_t morae = 0, agreeing = 0, phrases = 0, falls = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    const std::string prompt = line.substr(0, tab), standard = line.substr(tab + 1);
    std::vector<ReadingSegment> segments = reader.read(prompt);
    markSegments(segments, accents.phrases(prompt));
    const std::string marked = readingLine(segments);
    const std::vector<bool> ours = highs(marked), theirs = highs(standard);
    ASSERT_EQ(ours.size(), theirs.size()) << prompt << " " << marked;
    for (std::size_t k = 0; k < ours.size(); ++k) agreeing += ours[k] == theirs[k];
    morae += ours.size();
    const auto ourFalls = phraseFalls(marked);
    for (const auto& fall : phraseFalls(standard)) {
      ++phrases;
      for (const auto& our : ourFalls)
        falls +=
            our.second == fall.second && (fall.second != fall.first || our.first == fall.first);
    }
  }
  ASSERT_GT(morae, 500u);
  const double agreement = static_cast<double>(agreeing) / static_cast<double>(morae);
  const double rightFalls = static_cast<double>(falls) / static_cast<double>(phrases);
  std::cout << "morae agreeing: " << agreement << ", phrases with the right fall: " << rightFalls
            << "\n";
  EXPECT_GE(agreement, 0.97);
  EXPECT_GE(rightFalls, 0.90);
}

}  // namespace
}  // namespace orvane
