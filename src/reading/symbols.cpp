#include "reading/symbols.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "core/text.hpp"
#include "reading/character_table.hpp"
#include "reading/japanese_numbers.hpp"

namespace orvane::japanese {

namespace {

bool isIdeograph(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005;
}

// Signs said in Japanese, or as a pause, where the voice would name them in English, pass over
// them in silence or hear a long vowel in them (a dash).
constexpr std::pair<std::string_view, std::string_view> kSigns[] = {
    {"%", "パーセント"},
    {"％", "パーセント"},
    {"+", "プラス"},
    {"＋", "プラス"},
    {"=", "イコール"},
    {"＝", "イコール"},
    {"&", "アンド"},
    {"＆", "アンド"},
    {"@", "アット"},
    {"＠", "アット"},
    {"#", "シャープ"},
    {"＃", "シャープ"},
    {"/", "、"},
    {"~", "、"},
    {"・", "、"},
    {".", "。"},
    {"*", " "},
    {"\\", " "},
    {"ヶ", "ケ"},
    {"ヵ", "カ"},
    {"〆", " "},
    {"±", "プラスマイナス"},
    {"∓", "マイナスプラス"},
    {"×", "カケル"},
    {"÷", "ワル"},
    {"−", "マイナス"},
    {"°", "ド"},
    {"‰", "パーミル"},
    {"≠", "ノットイコール"},
    {"≒", "ニアリーイコール"},
    {"≈", "ニアリーイコール"},
    {"<", "ショーナリ"},
    {"＜", "ショーナリ"},
    {">", "ダイナリ"},
    {"＞", "ダイナリ"},
    {"≦", "ショーナリイコール"},
    {"≤", "ショーナリイコール"},
    {"≧", "ダイナリイコール"},
    {"≥", "ダイナリイコール"},
    {"∞", "ムゲンダイ"},
    {"√", "ルート"},
    {"○", "マル"},
    {"◯", "マル"},
    {"£", "ポンド"},
    {"€", "ユーロ"},
    {"¢", "セント"},
    {"〜", "ー"},  // ね〜: the voice hears a long vowel in it, as in ー
    {"〰", "ー"},
    {"～", "、"},
    {"-", "、"},
    {"‐", "、"},
    {"‑", "、"},
    {"‒", "、"},
    {"–", "、"},
    {"—", "、"},
    {"―", "、"},
    {"⁓", "、"},
};

// The punctuation the voice pauses on or passes over in silence, beside 、 and 。 (tried one by
// one between two kana with eSpeak NG's Japanese voice).
constexpr std::u32string_view kPauses =
    U"、。，．！？!?,:;：；「」『』（）()［］[]【】〈〉《》〔〕〖〗〘〙〚〛｛｝{}“”‘’\"'…‥«»‹›"
    U"〝〞〟｢｣､｡＂＇‼⁇⁈⁉¡¿ 　";

constexpr std::array<std::string_view, 26> kLetterNames = {
    "エー",   "ビー",   "シー", "ディー", "イー",       "エフ",     "ジー", "エイチ", "アイ",
    "ジェー", "ケー",   "エル", "エム",   "エヌ",       "オー",     "ピー", "キュー", "アール",
    "エス",   "ティー", "ユー", "ブイ",   "ダブリュー", "エックス", "ワイ", "ゼット"};

bool isUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

// A run of superscript digits as a power: 10² ジューノニジョー.
std::string power(std::string_view digits) {
  return "ノ" + readAlone(digits) + "ジョー";
}

}  // namespace

bool isSayable(char32_t c) {
  return (c >= 0x3041 && c <= 0x3094) || (c >= 0x30A1 && c <= 0x30F4) || c == 0x30FC ||
         (c >= 0xFF66 && c <= 0xFF9F) || kPauses.find(c) != std::u32string_view::npos;
}

std::string sayable(std::string_view kana, std::string* dropped) {
  std::string out, digits, superscript;
  const auto flush = [&] {
    if (!digits.empty()) out += readAlone(digits), digits.clear();
    if (!superscript.empty()) out += power(superscript), superscript.clear();
  };
  const auto drop = [&](std::string_view ch, char32_t c) {
    if (dropped && !isQuiet(c) && c != 0xFFFD) *dropped += ch;
  };
  for (std::string_view ch : text::characters(kana)) {
    const char32_t c = text::codePoint(ch);
    if (!positionalDigits(ch).empty() && !isIdeograph(c)) {
      if (!superscript.empty()) flush();
      digits += ch;
      continue;
    }
    if (const CharacterForm* f = characterForm(c); f && f->kind == CharacterKind::Superscript) {
      if (!digits.empty()) flush();
      superscript += f->text;
      continue;
    }
    flush();
    const auto sign = std::find_if(std::begin(kSigns), std::end(kSigns),
                                   [ch](const auto& s) { return s.first == ch; });
    if (sign != std::end(kSigns)) {
      out += sign->second;
    } else if (ch.size() == text::utf8Length(ch, 0) && isSayable(c)) {
      out += ch;
    } else {
      drop(ch, c);
    }
  }
  flush();
  return out;
}

bool isAbbreviation(std::string_view word) {
  if (word.empty() || word.size() > 4 || !std::all_of(word.begin(), word.end(), isUpper)) {
    return false;
  }
  return word.size() < 4 || word.find_first_of("AEIOU") == std::string_view::npos;
}

std::string letterNames(std::string_view word) {
  std::string out;
  for (char c : word) {
    if (isUpper(c)) out += kLetterNames[static_cast<std::size_t>(c - 'A')];
  }
  return out;
}

}  // namespace orvane::japanese
