#include "speech/japanese_reading.hpp"

#include <algorithm>
#include <iterator>
#include <utility>

#include <mecab.h>

#include <cctype>

#include "drill/text.hpp"

namespace orvane {

namespace {
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

void append(std::vector<ReadingSegment>& out, bool latin, std::string_view text) {
  if (text.empty()) return;
  if (!out.empty() && out.back().latin == latin) {
    if (latin) out.back().text += ' ';
    out.back().text += text;
  } else {
    out.push_back({latin, std::string(text)});
  }
}

// The pronunciation field (the ninth) of an IPAdic feature string, if it has one.
std::string_view pronunciation(std::string_view feature) {
  for (int field = 0; field < 8; ++field) {
    const std::size_t comma = feature.find(',');
    if (comma == std::string_view::npos) return {};
    feature.remove_prefix(comma + 1);
  }
  const std::string_view value = feature.substr(0, feature.find(','));
  return value == "*" ? std::string_view() : value;
}
}  // namespace

struct JapaneseReader::Tagger {
  mecab_t* mecab;
  ~Tagger() { mecab_destroy(mecab); }
};

JapaneseReader::JapaneseReader(const std::string& dictionary) {
  const std::string args = "-d " + dictionary;
  if (mecab_t* m = mecab_new2(args.c_str())) tagger_.reset(new Tagger{m});
}

JapaneseReader::~JapaneseReader() = default;

std::string withoutIdeographs(std::string_view text) {
  std::string out;
  for (std::string_view ch : text::characters(text)) {
    if (!isIdeograph(codePoint(ch))) out += ch;
  }
  return out;
}

namespace {
// Counters drills use every day that the dictionary reads digit by digit (二人 as ニニン).
// 一日 is left alone: "one day" and "the first" are read differently.
constexpr std::pair<std::string_view, std::string_view> kCounterReadings[] = {
    {"二十日", "はつか"}, {"一人", "ひとり"}, {"二人", "ふたり"},   {"二日", "ふつか"},
    {"三日", "みっか"},   {"四日", "よっか"}, {"五日", "いつか"},   {"六日", "むいか"},
    {"七日", "なのか"},   {"八日", "ようか"}, {"九日", "ここのか"}, {"十日", "とおか"},
};

bool isNumeral(std::string_view ch) {
  static constexpr std::string_view kNumerals[] = {"〇", "一", "二", "三", "四", "五", "六",
                                                   "七", "八", "九", "十", "百", "千", "万"};
  if (ch.size() == 1) return ch[0] >= '0' && ch[0] <= '9';
  if (ch.size() == 3 && ch.substr(0, 2) == "\xEF\xBC") {  // full-width digits
    const auto last = static_cast<unsigned char>(ch[2]);
    return last >= 0x90 && last <= 0x99;
  }
  return std::find(std::begin(kNumerals), std::end(kNumerals), ch) != std::end(kNumerals);
}
}  // namespace

std::string withCounterReadings(std::string_view text) {
  std::string out;
  std::string_view previous;  // the character before, to leave 十二人 and the like alone
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (!isNumeral(previous)) {
      for (const auto& [word, reading] : kCounterReadings) {
        if (text.substr(i, word.size()) == word) {
          out += reading;
          previous = text.substr(i + word.size() - 3, 3);
          i += word.size();
          replaced = true;
          break;
        }
      }
    }
    if (replaced) continue;
    const std::size_t len = std::max<std::size_t>(text::utf8Length(text, i), 1);
    previous = text.substr(i, len);
    out += previous;
    i += len;
  }
  return out;
}

std::vector<ReadingSegment> JapaneseReader::read(std::string_view original) {
  const std::string withReadings = withCounterReadings(original);
  const std::string_view text = withReadings;
  std::vector<ReadingSegment> out;
  if (!tagger_ || !text::isValidUtf8(text)) {
    // Without readings, Latin words still go to the English voice, split at blanks.
    std::string word;
    for (std::string_view ch : text::characters(text)) {
      const bool latin = ch.size() == 1 && isLatinWord(ch);
      if (latin) {
        word += ch;
        continue;
      }
      if (!word.empty()) append(out, true, word), word.clear();
      if (ch != " ") append(out, false, withoutIdeographs(ch));
    }
    if (!word.empty()) append(out, true, word);
    return out;
  }
  const std::string buffer(text);
  for (const mecab_node_t* node = mecab_sparse_tonode(tagger_->mecab, buffer.c_str()); node;
       node = node->next) {
    if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
    const std::string_view surface(node->surface, node->length);
    if (isLatinWord(surface)) {
      append(out, true, surface);
      continue;
    }
    const std::string_view reading = pronunciation(node->feature ? node->feature : "");
    append(out, false, withoutIdeographs(reading.empty() ? surface : reading));
  }
  return out;
}

}  // namespace orvane
