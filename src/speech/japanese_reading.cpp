#include "speech/japanese_reading.hpp"

#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

#include <mecab.h>

#include "core/text.hpp"
#include "speech/japanese_numbers.hpp"

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

// Code point of a well-formed UTF-8 character.
char32_t codePoint(std::string_view ch) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(ch[i]); };
  switch (ch.size()) {
    case 1:
      return b(0);
    case 2:
      return ((b(0) & 0x1Fu) << 6) | (b(1) & 0x3Fu);
    case 3:
      return ((b(0) & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
    default:
      return ((b(0) & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12) | ((b(2) & 0x3Fu) << 6) |
             (b(3) & 0x3Fu);
  }
}

bool isIdeograph(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005;
}

// Symbols the Japanese voice would name in English (or as "Japanese letter"), said in Japanese
// or as a pause; the rest it passes over or says as they are.
constexpr std::pair<std::string_view, std::string_view> kSymbols[] = {
    {"%", "パーセント"}, {"％", "パーセント"}, {"+", "プラス"},   {"＋", "プラス"},
    {"=", "イコール"},   {"＝", "イコール"},   {"&", "アンド"},   {"＆", "アンド"},
    {"@", "アット"},     {"＠", "アット"},     {"#", "シャープ"}, {"＃", "シャープ"},
    {"/", "、"},         {"~", "、"},          {"・", "、"},      {".", "。"},
    {"*", " "},          {"\\", " "},          {"ヶ", "ケ"},      {"ヵ", "カ"},
    {"〆", " "},
};

// Digits left inside a word the dictionary does not know (⅖6), read as a number.
std::string digitsRead(std::string_view digits) {
  const auto value = jp::numberValue(digits);
  const std::string ascii = jp::positionalDigits(digits);
  if (!value || (ascii.size() > 1 && ascii[0] == '0')) return jp::digitByDigit(ascii);
  return jp::spokenNumber(*value).text();
}

// Kana the voice can say: no ideograph, no digit, and symbols in Japanese.
std::string sayable(std::string_view kana) {
  std::string out, digits;
  for (std::string_view ch : text::characters(kana)) {
    if (!jp::positionalDigits(ch).empty() && !isIdeograph(codePoint(ch))) {
      digits += ch;
      continue;
    }
    if (!digits.empty()) out += digitsRead(digits), digits.clear();
    const char32_t c = codePoint(ch);
    // Ideographs would be named "Chinese letter"; the number forms (Ⅻ, ⅖) spelled by their
    // code.
    if (isIdeograph(c) || (c >= 0x2150 && c <= 0x218F)) continue;
    bool mapped = false;
    for (const auto& [symbol, said] : kSymbols) {
      if (ch == symbol) {
        out += said;
        mapped = true;
        break;
      }
    }
    if (!mapped) out += ch;
  }
  if (!digits.empty()) out += digitsRead(digits);
  return out;
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

struct Token {
  std::string_view surface;
  std::string_view pronunciation;  // empty for a word the dictionary does not know
  std::string_view partOfSpeech;
};

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

bool isOneOf(std::string_view s, std::initializer_list<std::string_view> options) {
  for (std::string_view o : options) {
    if (s == o) return true;
  }
  return false;
}

// Reads the numbers of a prompt, with the counters after them, from MeCab's words.
class NumberReader {
 public:
  explicit NumberReader(const std::vector<Token>& tokens)
      : tokens_(tokens), table_(jp::CounterTable::builtIn()) {}

  struct Read {
    std::string kana;
    std::size_t next;    // the first token after what was read
    bool month = false;  // what was read ends with a month (4月), so a day may follow
  };

  // A number (with what goes with it: its counter, a decimal part, minutes, a denominator)
  // starting at token i.
  std::optional<Read> numberAt(std::size_t i, bool afterMonth) const {
    const jp::Counter* currency = nullptr;
    if (i + 1 < tokens_.size() && isOneOf(tokens_[i].surface, {"¥", "￥", "$", "＄"})) {
      currency = table_.find(
          tokens_[i].surface.ends_with("$") || tokens_[i].surface == "＄" ? "ドル" : "円");
      ++i;
    }
    const Run a = numerals(i);
    if (a.text.empty()) return std::nullopt;
    std::string digits = jp::positionalDigits(a.text);
    std::size_t j = a.next;
    // Thousands separators: 1,500 and １，５００.
    if (!digits.empty() && digits.size() <= 3) {
      while (j + 1 < tokens_.size() && isOneOf(tokens_[j].surface, {",", "，"}) && joins(j)) {
        const Run group = numerals(j + 1);
        const std::string groupDigits = jp::positionalDigits(group.text);
        if (groupDigits.size() != 3) break;
        digits += groupDigits;
        j = group.next;
      }
    }
    const std::string number = digits.empty() ? std::string(a.text) : digits;
    if (j + 1 < tokens_.size() && !currency && joins(j)) {
      const std::string_view separator = tokens_[j].surface;
      const Run b = numerals(j + 1);
      const std::string bDigits = jp::positionalDigits(b.text);
      if (!bDigits.empty() && isOneOf(separator, {".", "．"})) {
        return Read{plain(number, "レイ") + "テン" + jp::digitByDigit(bDigits), b.next};
      }
      if (bDigits.size() == 2 && isOneOf(separator, {":", "："})) {
        const auto hour = jp::numberValue(number);
        const auto minute = jp::numberValue(bDigits);
        if (hour && *hour <= 24 && *minute < 60) {
          std::string kana = jp::withCounter(jp::spokenNumber(*hour), *table_.find("時"));
          if (*minute > 0) kana += jp::withCounter(jp::spokenNumber(*minute), *table_.find("分"));
          return Read{kana, b.next};
        }
      }
      if (!b.text.empty() && isOneOf(separator, {"/", "／"})) {
        return Read{plain(b.text) + "ブンノ" + plain(number), b.next};
      }
    }
    const auto value = jp::numberValue(number);
    const bool leadingZero = digits.size() > 1 && digits[0] == '0';
    if (!value || leadingZero) return Read{plain(number), j};
    const jp::SpokenNumber spoken = jp::spokenNumber(*value);
    if (currency) return Read{jp::withCounter(spoken, *currency), j};
    if (const auto c = counterAt(j)) {
      return Read{jp::withCounter(spoken, *c->counter, afterMonth) + c->rest, c->next,
                  c->counter->surface == "月"};
    }
    return Read{spoken.text(), j};
  }

  // 何 and a counter after it, at token i.
  std::optional<Read> nanAt(std::size_t i) const {
    const std::string_view surface = tokens_[i].surface;
    if (!surface.starts_with("何")) return std::nullopt;
    if (surface.size() > std::string_view("何").size()) {
      // One word of the dictionary's (何分 as ナニブン): 何 and the counter all the same.
      const jp::Counter* c = table_.find(surface.substr(std::string_view("何").size()));
      if (!c) return std::nullopt;
      return Read{jp::nanWithCounter(*c), i + 1, c->surface == "月"};
    }
    const auto c = counterAt(i + 1);
    if (!c) return std::nullopt;
    return Read{jp::nanWithCounter(*c->counter) + c->rest, c->next, c->counter->surface == "月"};
  }

 private:
  struct Run {
    std::string_view text;  // the numerals, joined
    std::size_t next;
  };
  // Numeral tokens from i on, joined: MeCab gives 二千二十六 and １０ a word per character.
  Run numerals(std::size_t i) const {
    const std::size_t first = i;
    while (i < tokens_.size() && jp::isNumerals(tokens_[i].surface) &&
           (i == first || adjacent(i - 1, i))) {
      ++i;
    }
    if (i == first) return {{}, i};
    const char* begin = tokens_[first].surface.data();
    const char* end = tokens_[i - 1].surface.data() + tokens_[i - 1].surface.size();
    return {std::string_view(begin, static_cast<std::size_t>(end - begin)), i};
  }

  // True when nothing (a blank, which MeCab skips) stands between the two words.
  bool adjacent(std::size_t a, std::size_t b) const {
    return tokens_[a].surface.data() + tokens_[a].surface.size() == tokens_[b].surface.data();
  }

  // True when the sign at j stands right between two words, with no blank on either side.
  bool joins(std::size_t j) const { return adjacent(j - 1, j) && adjacent(j, j + 1); }

  // A number read alone; digits one by one when it has a leading zero or is too long.
  std::string plain(std::string_view numerals, std::string_view zero = "ゼロ") const {
    const std::string digits = jp::positionalDigits(numerals);
    const auto value = jp::numberValue(numerals);
    if (value && *value == 0) return std::string(zero);
    if (!value || (digits.size() > 1 && digits[0] == '0')) {
      return digits.empty() ? std::string() : jp::digitByDigit(digits);
    }
    return jp::spokenNumber(*value).text();
  }

  struct CounterMatch {
    const jp::Counter* counter;
    std::size_t next;
    std::string rest;  // the reading of what follows the counter in its own word
  };
  // The counter written by the words from j on: the longest that ends at a word's end, else one
  // that starts a longer word whose reading starts with the counter's (日中 ニチジュー).
  std::optional<CounterMatch> counterAt(std::size_t j) const {
    std::string written;
    std::optional<CounterMatch> best;
    for (std::size_t k = j; k < tokens_.size() && k < j + 3; ++k) {
      written += tokens_[k].surface;
      if (const jp::Counter* c = table_.find(written)) best = CounterMatch{c, k + 1, {}};
    }
    if (best || j >= tokens_.size()) return best;
    const Token& t = tokens_[j];
    const jp::Counter* c = table_.longestPrefix(t.surface);
    if (c && t.pronunciation.starts_with(c->reading)) {
      return CounterMatch{c, j + 1, std::string(t.pronunciation.substr(c->reading.size()))};
    }
    return std::nullopt;
  }

  const std::vector<Token>& tokens_;
  const jp::CounterTable& table_;
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
  mecab_t* m = userDictionary.empty() ? nullptr : open(true);
  hasUserDictionary_ = m != nullptr;
  if (!m) m = open(false);
  if (m) tagger_.reset(new Tagger{m});
}

JapaneseReader::~JapaneseReader() = default;

std::string withoutIdeographs(std::string_view text) {
  std::string out;
  for (std::string_view ch : text::characters(text)) {
    if (!isIdeograph(codePoint(ch))) out += ch;
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

std::vector<ReadingSegment> JapaneseReader::read(std::string_view text) {
  Segments out;
  if (!tagger_ || !text::isValidUtf8(text)) {
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

  const std::string buffer(text);
  std::vector<Token> tokens;
  for (const mecab_node_t* node = mecab_sparse_tonode(tagger_->mecab, buffer.c_str()); node;
       node = node->next) {
    if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
    const std::string_view feature = node->feature ? node->feature : "";
    tokens.push_back({std::string_view(node->surface, node->length), featureField(feature, 8),
                      featureField(feature, 0)});
  }

  const NumberReader numbers(tokens);
  bool afterMonth = false;   // the word before was a month: 4月 1日 is a date
  bool afterNumber = false;  // the word before was a number: 3〜5人
  for (std::size_t i = 0; i < tokens.size();) {
    const Token& t = tokens[i];
    // A blank between two words is kept as a pause: the score "3/5 60%".
    const bool blankBefore =
        i > 0 && tokens[i - 1].surface.data() + tokens[i - 1].surface.size() != t.surface.data();
    if (blankBefore && !isLatinWord(t.surface) && !isLatinWord(tokens[i - 1].surface)) {
      out.add(false, " ");
    }
    if (isLatinWord(t.surface)) {
      out.add(true, t.surface);
      afterMonth = afterNumber = false;
      ++i;
      continue;
    }
    auto read = numbers.numberAt(i, afterMonth);
    if (!read) read = numbers.nanAt(i);
    if (read) {
      out.add(false, read->kana);
      afterMonth = read->month;
      afterNumber = true;
      i = read->next;
      continue;
    }
    std::string_view kana = t.pronunciation.empty() ? t.surface : t.pronunciation;
    if (afterNumber && isOneOf(t.surface, {"〜", "～", "~"}) && i + 1 < tokens.size() &&
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
