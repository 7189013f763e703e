// Japanese prompts for eSpeak NG, whose Japanese voice reads kana only: MeCab turns each token
// into its pronunciation in katakana. Runs of Latin words are kept apart, to be spoken as words
// by an English voice rather than letter by letter.
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

  explicit JapaneseReader(const std::string& dictionary = kDefaultDictionary);
  ~JapaneseReader();
  JapaneseReader(const JapaneseReader&) = delete;
  JapaneseReader& operator=(const JapaneseReader&) = delete;

  // False when the dictionary could not be loaded: readings then keep the kana of the text only.
  bool hasDictionary() const { return tagger_ != nullptr; }

  std::vector<ReadingSegment> read(std::string_view text);

 private:
  struct Tagger;
  std::unique_ptr<Tagger> tagger_;
};

// Writes counters of people and days (二人, 四日) in kana, which the dictionary misreads; a
// counter after another numeral (十二人) is left to the dictionary.
std::string withCounterReadings(std::string_view text);

// Removes ideographs, which the Japanese voice would only name as "Chinese letter".
std::string withoutIdeographs(std::string_view text);

}  // namespace orvane
