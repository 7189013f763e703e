#include "drill/csv_lesson.hpp"

#include <algorithm>
#include <utility>

#include "core/text.hpp"
#include "drill/decoder.hpp"

namespace orvane {

namespace {
constexpr std::size_t kMaxWords = 7;

// The CSV's text as UTF-8, whatever the spreadsheet saved it in.
std::string decodeCsv(std::string_view bytes) {
  if (const Utf16Guess utf16 = guessUtf16(bytes.substr(0, 512)); utf16.order != Utf16Order::None)
    return utf16ToUtf8(bytes.substr(utf16.bomLength), utf16.order);
  const EncodingGuess guess = guessEncoding(bytes);
  LineDecoder decoder(guess.encoding);
  return decoder.decode(bytes.substr(guess.bomLength));
}

// A full-width closing mark as the drill's own.
std::string_view halfWidthMark(std::string_view mark) {
  if (mark == "．") return ".";
  if (mark == "？") return "?";
  if (mark == "！") return "!";
  return mark;
}

// Splits the closing mark off the sentence's last word ("student." -> "student", ".").
std::string takeClosingMark(std::vector<std::string>& words) {
  while (!words.empty()) {
    std::string& last = words.back();
    for (std::string_view mark : {".", "?", "!", "．", "？", "！"}) {
      if (last.ends_with(mark)) {
        last.resize(last.size() - mark.size());
        last = text::trim(last);
        if (last.empty()) words.pop_back();
        return std::string(halfWidthMark(mark));
      }
    }
    return {};
  }
  return {};
}

std::vector<std::string> splitOnBlanks(const std::string& sentence) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : sentence + " ") {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(std::exchange(word, {}));
    } else {
      word += c;
    }
  }
  return words;
}

bool hasLatinLetter(const std::vector<std::string>& cells) {
  return std::any_of(cells.begin(), cells.end(), [](const std::string& cell) {
    return std::any_of(cell.begin(), cell.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
  });
}

bool hasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

bool startsUpper(std::string_view word) {
  return !word.empty() && word[0] >= 'A' && word[0] <= 'Z';
}

// "I" and its contractions keep their capital wherever they stand.
bool isCapitalI(std::string_view word) {
  return word == "I" || word.starts_with("I'") || word.starts_with("I’");
}

struct Question {
  std::string prompt;
  std::vector<std::string> words;
  std::string mark;
};

// A sentence's capital is only the sentence's: on a button it would tell which word comes
// first. It is lowered, unless the word is "I" or stands capitalised inside a sentence of the
// lesson too (a name: "I like Tom." keeps "Tom is tall." as it is).
void lowerFirstWords(std::vector<Question>& questions) {
  std::vector<std::string> names;
  for (const Question& q : questions) {
    for (std::size_t i = 1; i < q.words.size(); ++i) {
      if (startsUpper(q.words[i])) names.push_back(q.words[i]);
    }
  }
  for (Question& q : questions) {
    std::string& first = q.words.front();
    if (startsUpper(first) && !isCapitalI(first) &&
        std::find(names.begin(), names.end(), first) == names.end()) {
      first[0] = static_cast<char>(first[0] - 'A' + 'a');
    }
  }
}
}  // namespace

std::vector<std::vector<std::string>> parseCsv(std::string_view text,
                                               std::vector<std::size_t>* rowLines) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, any = false;
  std::size_t line = 1, rowLine = 1;
  const auto endField = [&] {
    row.push_back(std::exchange(field, {}));
    any = true;
  };
  const auto endRow = [&] {
    if (any || !field.empty()) endField();
    if (!row.empty()) {
      rows.push_back(std::exchange(row, {}));
      if (rowLines) rowLines->push_back(rowLine);
    }
    any = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
    } else if (c == '"' && field.empty()) {
      quoted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRow();
      rowLine = ++line;
    } else {
      field += c;
    }
  }
  endRow();
  return rows;
}

CsvLesson questionFileFromCsv(std::string_view bytes) {
  CsvLesson out;
  out.questionFile = "\xEF\xBB\xBF";
  std::vector<std::size_t> rowLines;
  const auto rows = parseCsv(decodeCsv(bytes), &rowLines);
  std::vector<Question> questions;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::size_t rowNumber = rowLines[r];
    const auto problem = [&](std::string message) {
      out.problems.push_back({rowNumber, std::move(message)});
    };
    std::vector<std::string> cells;
    for (const std::string& cell : rows[r]) cells.push_back(text::trim(cell));
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
    if (cells.empty()) continue;  // an empty row
    const std::string prompt = cells[0];
    std::vector<std::string> english(cells.begin() + 1, cells.end());
    english.erase(std::remove(english.begin(), english.end(), std::string()), english.end());
    if (!hasLatinLetter(english)) {
      if (r == 0) {
        out.headerSkipped = true;
      } else {
        problem("英語の文（2列目から）がありません");
      }
      continue;
    }
    if (prompt.empty()) {
      problem("問題文（1列目）が空です");
      continue;
    }
    if (hasLineBreak(prompt)) {
      problem("問題文に改行があります: 1行に書いてください");
      continue;
    }
    std::vector<std::string> words = english.size() == 1 ? splitOnBlanks(english[0]) : english;
    if (std::any_of(words.begin(), words.end(), [](const std::string& w) {
          return hasLineBreak(w) || w.find_first_of(" \t") != std::string::npos;
        })) {
      problem("単語のセルに空白か改行があります: 1つのセルには1つの単語を書いてください");
      continue;
    }
    const std::string mark = takeClosingMark(words);
    if (mark.empty()) {
      problem("文の終わりに「.」「?」「!」がありません");
      continue;
    }
    if (words.empty()) {
      problem("英語の単語がありません");
      continue;
    }
    if (words.size() > kMaxWords) {
      problem("単語が " + std::to_string(words.size()) + " 個あります: 7 個までです");
      continue;
    }
    questions.push_back({prompt, std::move(words), mark});
  }
  lowerFirstWords(questions);
  for (Question& q : questions) {
    q.words.resize(kMaxWords);
    out.questionFile += std::to_string(++out.questions) + "\r\n" + q.prompt + "\r\n";
    for (const std::string& w : q.words) out.questionFile += w + "\r\n";
    out.questionFile += q.mark + "\r\n";
  }
  out.questionFile += "*\r\n";
  return out;
}

}  // namespace orvane
