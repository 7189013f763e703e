// Tokyo pitch accent for a Japanese prompt. The accent dictionary (open-jtalk-mecab-naist-jdic, a
// MeCab dictionary whose words carry their accent and how they join the word before) splits the
// prompt into accent phrases and finds each phrase's nucleus, the last high mora before the fall:
// particles and auxiliaries join the phrase before them, nouns join into compounds, and the
// word that joins says what becomes of the phrase's accent (食べ + ます: タベマ'ス; 学生 + です:
// ガクセーデ'ス; 六 + 時: ロク'ジ).
//
// The accent is written on kana: `/` between accent phrases, `'` right after the nucleus, none in
// a flat phrase: ハ'シデ/タベマ'ス. The readings stay the reader's own (japanese_reading.hpp):
// where the accent dictionary reads a word otherwise, the accent is carried over to the reader's
// kana by lining the two up mora by mora (accent_marks.cpp).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reading/japanese_reading.hpp"

namespace orvane {

// One word as the accent dictionary gives it.
struct AccentWord {
  std::string surface;        // as written in the prompt
  std::string partOfSpeech;   // 名詞, 動詞, 助詞, ...
  std::string subclass;       // 接尾, 非自立, 数, ...
  std::string pronunciation;  // katakana, を as オ, devoicing marks dropped
  int nucleus = 0;            // 0: flat; n: the fall comes after the n-th mora
  int morae = 0;
  std::string chainRule;    // "C3", "動詞%F4@1/助詞%F2@1", ...
  std::string base;         // the dictionary form: する, ある, ...
  std::string conjugation;  // 特殊・マス, 特殊・タイ, 五段・ラ行, ...
};

// Joins words into accent phrases and gives each its accent, written as above. Words whose
// pronunciation is empty (signs) end the phrase before them.
std::string accentPhrases(const std::vector<AccentWord>& words);

// Katakana (ァ to ヺ) or the long-vowel mark ー; a small kana (ャ, ァ, ...) is part of the mora
// before it.
bool isKatakana(std::string_view ch);
bool isSmallKana(std::string_view ch);

// The morae of katakana: a kana with the small kana after it (キャ, ファ), ー, ッ and ン each one.
std::vector<std::string_view> morae(std::string_view kana);

// The reader's kana with the marks of `accented` (written as above) placed on the morae that line
// up with it; kana that do not line up are kept, unmarked. Other characters (punctuation, blanks)
// pass through and end an accent phrase.
std::string markAccent(std::string_view kana, std::string_view accented);

// Marks the Japanese segments of a reading with `accented`, lined up over all of them at once.
void markSegments(std::vector<ReadingSegment>& segments, std::string_view accented);

class AccentDictionary {
 public:
  // The dictionary folder made by the build beside the running program, else the installed one;
  // empty when there is neither.
  static std::string defaultFolder();

  explicit AccentDictionary(const std::string& folder = defaultFolder());
  ~AccentDictionary();
  AccentDictionary(const AccentDictionary&) = delete;
  AccentDictionary& operator=(const AccentDictionary&) = delete;

  bool available() const { return tagger_ != nullptr; }
  // What is missing when it is not available.
  const std::string& problem() const { return problem_; }

  // The words of `text` as the dictionary reads them.
  std::vector<AccentWord> words(std::string_view text) const;
  // The accent phrases of `text` in the dictionary's own reading.
  std::string phrases(std::string_view text) const { return accentPhrases(words(text)); }

 private:
  struct Tagger;
  std::unique_ptr<Tagger> tagger_;
  std::string problem_;
};

}  // namespace orvane
