#include "reading/accent.hpp"

#include <mecab.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/text.hpp"

namespace orvane {

namespace {

// A mora that cannot carry the fall: the fall comes on the mora before it.
bool isSpecialMora(std::string_view mora) {
  return mora == "ー" || mora == "ッ" || mora == "ン";
}

int number(std::string_view s) {
  int value = 0;
  std::from_chars(s.data(), s.data() + s.size(), value);
  return value;
}

// The dictionary's pronunciation as the voice says it: を as オ, no devoicing marks.
std::string cleanPronunciation(std::string_view pronunciation) {
  std::string out;
  for (std::string_view ch : text::characters(pronunciation)) {
    if (isKatakana(ch)) out += ch == "ヲ" ? "オ" : ch;
  }
  return out;
}

// Which rule a joining word follows after `previous`: "動詞%F4@1/助詞%F2@1" names one per part
// of speech of the word before; a part without `%` is for any other.
struct ChainRule {
  std::string_view kind;  // "F2", "C3", ... ; empty: the accent stays
  int add = 0;
};
ChainRule parseRule(std::string_view kind) {
  int add = 0;
  if (const std::size_t at = kind.find('@'); at != std::string_view::npos) {
    add = number(kind.substr(at + 1));
    kind = kind.substr(0, at);
  }
  return {kind == "*" ? std::string_view() : kind, add};
}

// A rule for neither `previous`'s part of speech nor the phrase's first word's (`head`: ませ + ん
// in 行きません follows the verb) is the rule for any other, if there is one.
ChainRule chainRuleAfter(std::string_view rules, std::string_view previous, std::string_view head) {
  const std::vector<std::string_view> parts = text::split(rules, '/');
  for (std::string_view wanted : {previous, head}) {
    for (std::string_view rule : parts) {
      const std::size_t percent = rule.find('%');
      if (percent != std::string_view::npos && rule.substr(0, percent) == wanted) {
        return parseRule(rule.substr(percent + 1));
      }
    }
  }
  for (std::string_view rule : parts) {
    if (rule.find('%') == std::string_view::npos) return parseRule(rule);
  }
  return {};
}

// The part of speech a word after `word` takes its rule for: an auxiliary that conjugates as an
// adjective (たい, ない) or as a verb (ます) counts as one.
std::string_view ruleClass(const AccentWord& word) {
  if (word.partOfSpeech != "助動詞") return word.partOfSpeech;
  if (word.conjugation.find("タイ") != std::string::npos ||
      word.conjugation.find("ナイ") != std::string::npos) {
    return "形容詞";
  }
  if (word.conjugation.find("マス") != std::string::npos) return "動詞";
  return word.partOfSpeech;
}

// Counters whose numeral + counter falls after the counter's first mora (サンニ'ン, ゴエ'ン); not
// 一人 and 二人, which are read ヒトリ and フタリ.
bool fallsAfterCountersFirstMora(const AccentWord& previous, const AccentWord& word) {
  if (previous.subclass != "数" || word.subclass != "接尾") return false;
  if (word.pronunciation == "エン") return true;
  return word.pronunciation == "ニン" && previous.pronunciation != "イチ" &&
         previous.pronunciation != "ニ";
}

// Whether `word` joins the accent phrase of `previous`.
bool joins(const AccentWord& previous, const AccentWord& word) {
  if (word.partOfSpeech == "助詞" || word.partOfSpeech == "助動詞") return true;
  if (word.subclass == "接尾") return true;
  if (previous.partOfSpeech == "接頭詞") return true;
  // ている, てください, 食べやすい; not いい in てもいい.
  if (word.subclass == "非自立" && (word.partOfSpeech == "動詞" || word.partOfSpeech == "形容詞")) {
    return previous.partOfSpeech == "動詞" || previous.partOfSpeech == "形容詞" ||
           previous.pronunciation == "テ" || previous.pronunciation == "デ";
  }
  // 勉強 + する.
  if (word.partOfSpeech == "動詞" && word.base == "する" && previous.subclass == "サ変接続") {
    return true;
  }
  // 聞く + のが, 行く + つもり.
  if (word.partOfSpeech == "名詞" && word.subclass == "非自立") {
    return previous.partOfSpeech == "動詞" || previous.partOfSpeech == "形容詞";
  }
  // Compounds: 郵便 + 局, 六 + 十, 朝 + ご飯; not 昨日 + テニス, 毎朝 + 七時.
  return word.partOfSpeech == "名詞" && previous.partOfSpeech == "名詞" &&
         previous.subclass != "代名詞" && word.subclass != "代名詞" && word.subclass != "非自立" &&
         previous.subclass != "形容動詞語幹" &&
         (previous.subclass != "副詞可能" || text::characterCount(previous.surface) == 1);
}

// The phrase's accent once `word` has joined it after `moraeBefore` morae.
int joinedAccent(int accent, int moraeBefore, const AccentWord& word, const ChainRule& rule) {
  const std::string_view k = rule.kind;
  if (k == "F2") return accent == 0 ? moraeBefore + rule.add : accent;
  if (k == "F3") return accent != 0 ? moraeBefore + rule.add : accent;
  if (k == "F4") return moraeBefore + rule.add;
  if (k == "F5" || k == "C4") return 0;
  if (k == "C1") return moraeBefore + word.nucleus;
  if (k == "C2") return moraeBefore + 1;
  if (k == "C3") return moraeBefore;
  return accent;  // F1, C5, P*: the phrase keeps its accent
}

struct Phrase {
  std::vector<std::string_view> morae;
  int nucleus = 0;
  // The fall stands where it was put, on ン too: 二人 is written ニニン but said フタリ', the
  // fall on its last mora.
  bool fallAsWritten = false;
};

void writePhrase(const Phrase& phrase, std::string& out) {
  if (phrase.morae.empty()) return;
  if (!out.empty()) out += '/';
  int nucleus = std::clamp(phrase.nucleus, 0, static_cast<int>(phrase.morae.size()));
  while (!phrase.fallAsWritten && nucleus > 1 &&
         isSpecialMora(phrase.morae[static_cast<std::size_t>(nucleus - 1)])) {
    --nucleus;
  }
  for (std::size_t i = 0; i < phrase.morae.size(); ++i) {
    out += phrase.morae[i];
    if (static_cast<int>(i) + 1 == nucleus) out += '\'';
  }
}

}  // namespace

std::string accentPhrases(const std::vector<AccentWord>& words) {
  std::string out;
  Phrase phrase;
  const AccentWord* previous = nullptr;
  const AccentWord* head = nullptr;
  // A verb's own fall, kept through the ている, てください after it (タ'ベテイマス).
  bool settled = false;
  for (const AccentWord& word : words) {
    const std::vector<std::string_view> own = morae(word.pronunciation);
    if (own.empty()) {  // a sign ends the phrase
      writePhrase(phrase, out);
      phrase = {};
      previous = head = nullptr;
      continue;
    }
    if (previous && joins(*previous, word)) {
      const int before = static_cast<int>(phrase.morae.size());
      const bool helper = word.subclass == "非自立" && word.partOfSpeech == "動詞";
      settled = settled || (helper && phrase.nucleus > 0);
      if (helper && !settled) {
        // 教えて + ください: on a flat phrase the helper verb keeps its own fall.
        if (word.nucleus > 0) phrase.nucleus = before + word.nucleus;
      } else if (word.partOfSpeech == "名詞" && word.subclass == "非自立") {
        // 話す + こと, 聞く + の, 行く + つもり: the verb's accent, or none, stays.
      } else if (previous->subclass == "数" && previous->pronunciation == "ニ" &&
                 word.pronunciation == "ニン") {
        phrase.nucleus = before + 2, phrase.fallAsWritten = true;  // 二人 フタリ'
      } else if (fallsAfterCountersFirstMora(*previous, word)) {
        phrase.nucleus = before + 1;
      } else if (!settled) {
        phrase.nucleus =
            joinedAccent(phrase.nucleus, before, word,
                         chainRuleAfter(word.chainRule, ruleClass(*previous), head->partOfSpeech));
      }
    } else {
      writePhrase(phrase, out);
      phrase = {{}, word.nucleus};
      head = &word;
      settled = false;
    }
    phrase.morae.insert(phrase.morae.end(), own.begin(), own.end());
    previous = &word;
  }
  writePhrase(phrase, out);
  return out;
}

struct AccentDictionary::Tagger {
  mecab_t* mecab;
  ~Tagger() { mecab_destroy(mecab); }
};

std::string AccentDictionary::defaultFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  // Beside the program in a build; under share/ beside bin/ where it is installed.
  for (const auto& candidate :
       {self.parent_path() / "accent-dictionary",
        self.parent_path().parent_path() / "share" / "orvane" / "accent-dictionary"}) {
    if (std::filesystem::is_regular_file(candidate / "dicrc", ec)) return candidate.string();
  }
  return {};
}

AccentDictionary::AccentDictionary(const std::string& folder) {
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_regular_file(folder + "/dicrc", ec)) {
    problem_ = "the accent dictionary's folder (with its dicrc) is missing";
    return;
  }
  if (!std::filesystem::is_regular_file(folder + "/sys.dic", ec) ||
      ::access((folder + "/sys.dic").c_str(), R_OK) != 0) {
    problem_ = "the accent dictionary is not installed (open-jtalk-mecab-naist-jdic)";
    return;
  }
  std::string program = "orvane", d = "-d", dic = folder;
  std::array<char*, 3> argv = {program.data(), d.data(), dic.data()};
  mecab_t* m = mecab_new(static_cast<int>(argv.size()), argv.data());
  if (!m) {
    problem_ = "MeCab cannot open the accent dictionary in " + folder;
    return;
  }
  tagger_.reset(new Tagger{m});
}

AccentDictionary::~AccentDictionary() = default;

std::vector<AccentWord> AccentDictionary::words(std::string_view text) const {
  std::vector<AccentWord> out;
  if (!tagger_) return out;
  const std::string input(text);
  for (const mecab_node_t* node = mecab_sparse_tonode(tagger_->mecab, input.c_str()); node;
       node = node->next) {
    if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE || !node->feature) continue;
    // POS, subclass, ..., base, reading, pronunciation, accent "n/m", chain rule
    const std::vector<std::string_view> f = text::split(node->feature, ',');
    if (f.size() < 11) {
      out.push_back(
          {std::string(node->surface, node->length), std::string(f[0]), "", "", 0, 0, "", "", ""});
      continue;
    }
    // A word of several parts ("n/m:n/m") takes its first part's accent for the whole.
    const std::vector<std::string_view> accent = text::split(text::split(f[9], ':')[0], '/');
    AccentWord word{std::string(node->surface, node->length),
                    std::string(f[0]),
                    std::string(f[1]),
                    f[8] == "*" ? std::string() : cleanPronunciation(f[8]),
                    accent.size() == 2 ? number(accent[0]) : 0,
                    0,
                    std::string(f[10]),
                    std::string(f[6]),
                    std::string(f[4])};
    // The ある of ではありません is the verb, with a phrase of its own.
    if (word.partOfSpeech == "助動詞" && word.base == "ある") {
      word.partOfSpeech = "動詞", word.subclass = "自立", word.chainRule = "*";
    }
    word.morae = static_cast<int>(morae(word.pronunciation).size());
    out.push_back(std::move(word));
  }
  return out;
}

}  // namespace orvane
