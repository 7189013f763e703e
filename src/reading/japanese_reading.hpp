// reading/: the Japanese reader, readings after MeCab with numbers and counters. Stands on core/
// only.
//
// Japanese prompts for eSpeak NG, whose Japanese voice reads kana only. The prompt is first made
// readable (normalise.hpp: ＤＶＤ DVD, ① 1, ㈱ 株式会社); MeCab splits it into words and gives
// each its pronunciation in katakana; then numbers are read as a Japanese speaker reads them,
// with the counter or unit after them (japanese_numbers.hpp), signs and abbreviations are said in
// Japanese (symbols.hpp), and runs of Latin words are kept apart, to be spoken as words by an
// English voice rather than letter by letter. Words the dictionary misreads in everyday sentences
// are set right by a user dictionary of our own (data/mecab/orvane-words.csv), compiled by the
// build.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct ReadingSegment {
  bool latin;  // Latin words (an English voice speaks them); otherwise kana for the Japanese voice
  std::string text;
  bool operator==(const ReadingSegment&) const = default;
};

class JapaneseReader {
 public:
  // The dictionary folder is named explicitly (the ipadic-utf8 one), not taken from the
  // system's default link.
  static constexpr const char* kDefaultDictionary = "/var/lib/mecab/dic/ipadic-utf8";

  // The user dictionary beside the running program (a build), else the installed one; empty when
  // there is neither.
  static std::string defaultUserDictionary();

  // Without a usable user dictionary the system dictionary is used alone.
  explicit JapaneseReader(const std::string& dictionary = kDefaultDictionary,
                          const std::string& userDictionary = defaultUserDictionary());
  ~JapaneseReader();
  JapaneseReader(const JapaneseReader&) = delete;
  JapaneseReader& operator=(const JapaneseReader&) = delete;

  // False when the dictionary could not be loaded: readings then keep the kana of the text only.
  bool hasDictionary() const { return tagger_ != nullptr; }
  bool hasUserDictionary() const { return hasUserDictionary_; }

  // What the voices are handed for `text`. The characters nothing reads, which the Japanese voice
  // is not handed, are added to `dropped` when it is given (punctuation and blanks excepted).
  std::vector<ReadingSegment> read(std::string_view text, std::string* dropped = nullptr);

 private:
  std::vector<ReadingSegment> readPiece(std::string_view piece, std::string* dropped);

  struct Tagger;
  std::unique_ptr<Tagger> tagger_;
  bool hasUserDictionary_ = false;
};

// Removes ideographs, which the Japanese voice would only name as "Chinese letter".
std::string withoutIdeographs(std::string_view text);

// The segments on one line, as `orvane-say --reading` prints them: separated by one blank.
std::string readingLine(const std::vector<ReadingSegment>& segments);

}  // namespace orvane
