#include "reading/japanese_reading.hpp"

#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

#include <mecab.h>
#include <unistd.h>

#include "core/text.hpp"
#include "reading/japanese_numbers.hpp"
#include "reading/normalise.hpp"
#include "reading/number_words.hpp"
#include "reading/reading_pieces.hpp"
#include "reading/symbols.hpp"

namespace orvane {

namespace {
namespace jp = japanese;

bool isLatinWord(std::string_view s) {
  bool letter = false;
  for (unsigned char c : s) {
    if (std::isalpha(c)) {
      letter = true;
    } else if (c != '\'' && c != '-' && !std::isdigit(c)) {
      return false;
    }
  }
  return letter;
}

bool isIdeograph(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005;
}

// The pronunciation field (the ninth) of an IPAdic feature string, if it has one.
std::string_view featureField(std::string_view feature, int wanted) {
  for (int field = 0; field < wanted; ++field) {
    const std::size_t comma = feature.find(',');
    if (comma == std::string_view::npos) return {};
    feature.remove_prefix(comma + 1);
  }
  const std::string_view value = feature.substr(0, feature.find(','));
  return value == "*" ? std::string_view() : value;
}

class Segments {
 public:
  void add(bool latin, std::string_view text) {
    if (text.empty()) return;
    if (!out_.empty() && out_.back().latin == latin) {
      if (latin) out_.back().text += ' ';
      out_.back().text += text;
    } else {
      out_.push_back({latin, std::string(text)});
    }
  }
  // True when the kana said last ends in a vowel of the o row (ショ, ロ, コ, ...).
  bool endsInO() const {
    if (out_.empty() || out_.back().latin) return false;
    static constexpr std::string_view kORow[] = {"オ", "コ", "ソ", "ト", "ノ", "ホ",
                                                 "モ", "ヨ", "ロ", "ヲ", "ゴ", "ゾ",
                                                 "ド", "ボ", "ポ", "ョ", "ォ"};
    for (std::string_view o : kORow) {
      if (out_.back().text.ends_with(o)) return true;
    }
    return false;
  }
  std::vector<ReadingSegment> take() { return std::move(out_); }

 private:
  std::vector<ReadingSegment> out_;
};

}  // namespace

struct JapaneseReader::Tagger {
  mecab_t* mecab;
  ~Tagger() { mecab_destroy(mecab); }
};

std::string JapaneseReader::defaultUserDictionary() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  // Beside the program in a build; under share/ beside bin/ where it is installed.
  for (const auto& candidate :
       {self.parent_path() / "orvane.dic",
        self.parent_path().parent_path() / "share" / "orvane" / "orvane.dic"}) {
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate.string();
  }
  return {};
}

JapaneseReader::JapaneseReader(const std::string& dictionary, const std::string& userDictionary) {
  const auto open = [&](bool withUser) -> mecab_t* {
    std::string program = "orvane", d = "-d", u = "-u";
    std::string dic = dictionary, user = userDictionary;
    std::array<char*, 5> argv = {program.data(), d.data(), dic.data(), u.data(), user.data()};
    return mecab_new(withUser ? 5 : 3, argv.data());
  };
  // A user dictionary that is not there is not handed to MeCab at all: its failure to open one
  // leaks what it had set up.
  std::error_code ec;
  const bool userThere = !userDictionary.empty() &&
                         std::filesystem::is_regular_file(userDictionary, ec) &&
                         ::access(userDictionary.c_str(), R_OK) == 0;
  mecab_t* m = userThere ? open(true) : nullptr;
  hasUserDictionary_ = m != nullptr;
  if (!m) m = open(false);
  if (m) tagger_.reset(new Tagger{m});
}

JapaneseReader::~JapaneseReader() = default;

std::string withoutIdeographs(std::string_view text) {
  std::string out;
  for (std::string_view ch : text::characters(text)) {
    if (!isIdeograph(text::codePoint(ch))) out += ch;
  }
  return out;
}

std::string readingLine(const std::vector<ReadingSegment>& segments) {
  std::string line;
  for (const ReadingSegment& s : segments) {
    if (!line.empty()) line += ' ';
    line += s.text;
  }
  return line;
}

std::vector<ReadingSegment> JapaneseReader::read(std::string_view text, std::string* dropped) {
  // MeCab's words hold at most 64 KiB and its lattice grows with the text: a long text is read in
  // pieces cut where no word or number runs across.
  Segments out;
  while (!text.empty()) {
    const std::size_t length = jp::pieceLength(text);
    for (ReadingSegment& s : readPiece(text.substr(0, length), dropped)) out.add(s.latin, s.text);
    text.remove_prefix(length);
  }
  return out.take();
}

std::vector<ReadingSegment> JapaneseReader::readPiece(std::string_view piece,
                                                      std::string* dropped) {
  const std::string text = jp::normaliseForReading(piece);
  const auto sayable = [dropped](std::string_view kana) { return jp::sayable(kana, dropped); };
  Segments out;
  if (!tagger_) {
    // Without readings, Latin words still go to the English voice, split at blanks.
    std::string word;
    for (std::string_view ch : text::characters(text)) {
      const bool latin = ch.size() == 1 && isLatinWord(ch);
      if (latin) {
        word += ch;
        continue;
      }
      if (!word.empty()) out.add(true, word), word.clear();
      if (ch != " ") out.add(false, sayable(ch));
    }
    if (!word.empty()) out.add(true, word);
    return out.take();
  }

  std::vector<jp::Token> tokens;
  for (const mecab_node_t* node = mecab_sparse_tonode(tagger_->mecab, text.c_str()); node;
       node = node->next) {
    if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
    const std::string_view feature = node->feature ? node->feature : "";
    tokens.push_back({std::string_view(node->surface, node->length), featureField(feature, 8),
                      featureField(feature, 0)});
  }

  bool afterMonth = false;   // the word before was a month: 4月 1日 is a date
  bool afterNumber = false;  // the word before was a number: 3〜5人
  for (std::size_t i = 0; i < tokens.size();) {
    const jp::Token& t = tokens[i];
    // A blank between two words is kept as a pause: the score "3/5 60%".
    const bool blankBefore = i > 0 && !jp::wordsTouch(tokens[i - 1], t);
    if (blankBefore && !isLatinWord(t.surface) && !isLatinWord(tokens[i - 1].surface)) {
      out.add(false, " ");
    }
    if (isLatinWord(t.surface)) {
      // CD, PC, ALT in a Japanese sentence are said by their letters' Japanese names; among
      // other Latin words they are English.
      const auto latinNeighbour = [&](std::size_t k) {
        return k < tokens.size() && isLatinWord(tokens[k].surface);
      };
      if (jp::isAbbreviation(t.surface) && !latinNeighbour(i - 1) && !latinNeighbour(i + 1)) {
        out.add(false, jp::letterNames(t.surface));
      } else {
        out.add(true, t.surface);
      }
      afterMonth = afterNumber = false;
      ++i;
      continue;
    }
    auto read = jp::readNumberAt(tokens, i, afterMonth);
    if (!read) read = jp::readNanAt(tokens, i);
    if (read) {
      out.add(false, read->kana);
      afterMonth = read->month;
      afterNumber = true;
      i = read->next;
      continue;
    }
    std::string_view kana = t.pronunciation.empty() ? t.surface : t.pronunciation;
    if (afterNumber && jp::isOneOf(t.surface, {"〜", "～", "~"}) && i + 1 < tokens.size() &&
        jp::isNumerals(tokens[i + 1].surface)) {
      kana = "カラ";  // 3〜5人: サンカラゴニン
    } else if (t.surface == "行っ" && i > 0 && tokens[i - 1].surface == "を") {
      // The user dictionary makes 行った "went", as drills mostly mean; with an object it is
      // 行う: 試験を行った.
      kana = "オコナッ";
    } else if (t.partOfSpeech == "助動詞" && t.surface == "う" && out.endsInO()) {
      kana = "ー";  // でしょう, ましょう: one long vowel, not "o-u"
    }
    out.add(false, sayable(kana));
    afterMonth = t.surface.ends_with("月") && kana.ends_with("ガツ");
    afterNumber = false;
    ++i;
  }
  return out.take();
}

}  // namespace orvane
