#include "reading/normalise.hpp"

#include <algorithm>
#include <utility>

#include "core/text.hpp"
#include "reading/character_table.hpp"

namespace orvane::japanese {

const CharacterForm* characterForm(char32_t c) {
  const CharacterForm* end = kCharacterForms + kCharacterFormCount;
  const CharacterForm* it = std::lower_bound(
      kCharacterForms, end, c, [](const CharacterForm& f, char32_t code) { return f.code < code; });
  return it != end && it->code == c ? it : nullptr;
}

bool isQuiet(char32_t c) {
  const CodeRange* end = kQuietRanges + kQuietRangeCount;
  const CodeRange* it = std::upper_bound(
      kQuietRanges, end, c, [](char32_t code, const CodeRange& r) { return code < r.first; });
  return it != kQuietRanges && c <= (it - 1)->last;
}

namespace {

// Where Japanese reads a character otherwise than its compatibility form: the enclosed company
// kinds stand for the whole word (㈱ かぶしきがいしゃ), and the squared areas and volumes keep
// their power as a superscript (㎡ m², not m2), which the units read.
constexpr std::pair<char32_t, std::string_view> kOwnForms[] = {
    {U'㈱', "株式会社"}, {U'㈲', "有限会社"}, {U'㈳', "社団法人"}, {U'㈴', "合名会社"},
    {U'㈵', "特殊法人"}, {U'㈶', "財団法人"}, {U'㈻', "学校法人"}, {U'㈼', "監査法人"},
    {U'㈾', "合資会社"}, {U'㈿', "協同組合"}, {U'㊑', "株式会社"}, {U'㊒', "有限会社"},
    {U'㊓', "社団法人"}, {U'㊔', "名称"},     {U'㊕', "特殊法人"}, {U'㊖', "財団法人"},
    {U'㎡', "m²"},       {U'㎥', "m³"},       {U'㎠', "cm²"},      {U'㎤', "cm³"},
    {U'㎢', "km²"},
};

bool endsInDigit(const std::string& s) {
  return !s.empty() && s.back() >= '0' && s.back() <= '9';
}

}  // namespace

std::string normaliseForReading(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool apart = false;  // what was written last is a number of its own: ①② are two numbers
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = text::utf8Length(text, i);
    if (length == 0) {
      // A byte that is no UTF-8 is a pause: it never joins the words on either side.
      if (out.empty() || out.back() != ' ') out += ' ';
      ++i;
      apart = false;
      continue;
    }
    const std::string_view ch = text.substr(i, length);
    i += length;
    const char32_t c = text::codePoint(ch);
    const auto own = std::find_if(std::begin(kOwnForms), std::end(kOwnForms),
                                  [c](const auto& f) { return f.first == c; });
    const CharacterForm* form = own == std::end(kOwnForms) ? characterForm(c) : nullptr;
    std::string_view written = own != std::end(kOwnForms) ? own->second : ch;
    if (form && form->kind != CharacterKind::Superscript) written = form->text;
    const bool number =
        form && (form->kind == CharacterKind::Number || form->kind == CharacterKind::Fraction);
    const bool startsWithDigit = !written.empty() && written[0] >= '0' && written[0] <= '9';
    if (form && form->kind == CharacterKind::Fraction && endsInDigit(out)) {
      out += "と";  // 1½: イチトニブンノイチ
    } else if ((number || apart) && startsWithDigit && endsInDigit(out)) {
      out += ' ';
    }
    out += written;
    apart = number;
  }
  return out;
}

}  // namespace orvane::japanese
