#include "drill/question_check.hpp"

#include <algorithm>
#include <optional>

#include "core/text.hpp"
#include "drill/question_record.hpp"

namespace orvane {

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // what the decoder makes of bad bytes
constexpr std::size_t kLinesPerRecord = 10;
// Lines looked at ahead of a record for a shift: enough for a record of sixteen words.
constexpr std::size_t kLookAhead = 20;

bool hasBlank(std::string_view word) {
  return word.find_first_of(" \t") != std::string_view::npos ||
         word.find("\xE3\x80\x80") != std::string_view::npos;  // the full-width blank
}

// True when `text` holds nothing but blanks, ASCII or full-width, and control characters.
bool isBlankText(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 3) == "\xE3\x80\x80") {
      i += 2;
    } else if (static_cast<unsigned char>(text[i]) > 0x20) {
      return false;
    }
  }
  return true;
}

// Full-width Latin letters and digits (ｃａｔｓ, ２): the English voice spells such a word.
bool hasFullWidthLatin(std::string_view word) {
  for (std::string_view ch : text::characters(word)) {
    const char32_t code = text::codePoint(ch);
    if ((code >= 0xFF10 && code <= 0xFF19) || (code >= 0xFF21 && code <= 0xFF3A) ||
        (code >= 0xFF41 && code <= 0xFF5A)) {
      return true;
    }
  }
  return false;
}

bool isFullWidthMark(std::string_view mark) {
  return mark == "．" || mark == "？" || mark == "！";
}

bool isMarkLine(const std::string& line) {
  const std::string mark = text::trim(line);
  return mark == "." || mark == "?" || mark == "!" || isFullWidthMark(mark);
}

bool hasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

std::string lowerAscii(std::string_view word) {
  std::string out(word);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// "I" and its contractions are capitalised wherever they stand.
bool isCapitalI(std::string_view word) {
  for (std::string_view i : {"I", "I'm", "I'll", "I've", "I'd", "I’m", "I’ll", "I’ve", "I’d"}) {
    if (word == i) return true;
  }
  return false;
}

// A word still in the quotes a spreadsheet puts around a cell ("cat", “cat”).
bool isQuoted(std::string_view word) {
  const auto quotedBy = [&](std::string_view open, std::string_view close) {
    return word.size() > open.size() + close.size() && word.starts_with(open) &&
           word.ends_with(close);
  };
  return quotedBy("\"", "\"") || quotedBy("“", "”");
}

// What is wrong with one record whose marker stands on `first`.
void checkRecord(const QuestionRecord& r, std::size_t number, std::size_t first,
                 const PromptCheck& checkPrompt, std::vector<Finding>& out) {
  const auto find = [&](std::size_t offset, std::string message) {
    out.push_back({first + offset, number, std::move(message)});
  };
  if (r.linesRead < 9) {
    find(r.linesRead, "ファイルの終わりで問題が途切れています（10行に足りません）");
    return;
  }
  if (isBlankText(r.prompt)) find(1, "問題文（2行目）が空です");
  if (r.prompt.find(kReplacement) != std::string::npos) {
    find(1, "Shift-JIS でも UTF-8 でもないバイトがあります");
  }
  if (checkPrompt) {
    if (std::string message = checkPrompt(r.prompt); !message.empty()) find(1, std::move(message));
  }
  bool gap = false;
  std::size_t firstGap = 0;
  for (std::size_t i = 2; i <= 9; ++i) {
    const std::string& raw = r.wordSlots[i];
    const std::string word = text::trim(raw);
    if (raw.find(kReplacement) != std::string::npos) {
      find(i, "Shift-JIS でも UTF-8 でもないバイトがあります");
    }
    if (i == 9) break;
    if (word.empty()) {
      if (!gap) firstGap = i;
      gap = true;
      continue;
    }
    if (gap) {
      find(firstGap, "単語が3行目から続けて書かれていません（空の行の後に単語があります）");
      gap = false;
      firstGap = 0;
    }
    if (hasBlank(word)) find(i, "単語の中に空白があります（1つのボタンになります）");
    if (hasFullWidthLatin(word)) {
      find(i, "単語に全角の英字か数字があります（" + word +
                  "）: 英語の声が一字ずつ読みます。半角で書いてください");
    }
    if (isQuoted(word)) {
      find(i, "単語が引用符で囲まれています（" + word +
                  "）: 表計算ソフトから写したときに残ったものなら消してください");
    }
    if (i == 2 && word[0] >= 'A' && word[0] <= 'Z' && !isCapitalI(word)) {
      find(i, "ヒント: 最初の単語が大文字で始まっています（" + word +
                  "）: "
                  "名前でなければ小文字にしてください。大文字のままでは、どれが文の初めかわかってし"
                  "まいます");
    }
    for (std::size_t j = 2; j < i; ++j) {
      const std::string earlier = text::trim(r.wordSlots[j]);
      if (earlier != word && lowerAscii(earlier) == lowerAscii(word)) {
        find(i, "大文字と小文字だけが違う単語があります（" + earlier + " と " + word +
                    "）: ボタンでは見分けにくくなります");
        break;
      }
    }
  }
  const std::string mark = text::trim(r.wordSlots[9]);
  if (mark.empty()) {
    find(9, "終わりの記号（. ? !）がありません");
  } else if (isFullWidthMark(mark)) {
    find(9, "終わりの記号が全角です（" + mark + "）: 半角の「.」「?」「!」にしてください");
  } else if (mark != "." && mark != "?" && mark != "!") {
    find(9, hasLetter(mark) ? "単語が7つより多くあります（10行目は終わりの記号の行です）"
                            : "10行目は「.」「?」「!」のどれかでなければなりません");
  }
}
}  // namespace

namespace {
// A record with a line too many or too few throws every later record out of step. Signs of it,
// in the lines after a marker (ahead[0] the prompt, ahead[8] where the closing mark belongs):
// a closing mark early, with Japanese two lines after it where the next prompt would be; or the
// closing mark one line late. The shift is named once, at the line it lies on; `length` is how
// many lines the record really has (marker included), so checking goes on from the next one.
struct Shift {
  std::size_t line;    // from the marker: 1 the prompt
  std::size_t length;  // lines of the record, marker included
  std::string message;
};

bool hasJapanese(const std::string& line) {
  return text::hasNonAscii(line) && !isBlankText(line);
}

// A word of English on a line of its own: letters, no Japanese.
bool isWordLine(const std::string& line) {
  return hasLetter(line) && !hasJapanese(line) && !isMarkLine(line);
}

std::optional<Shift> findShift(const std::vector<std::string>& ahead) {
  const std::string name = "この問題";
  if (ahead.size() >= 9 && isMarkLine(ahead[8])) return std::nullopt;  // where it belongs
  // More than seven words, every line after the prompt a word up to the closing mark, and the
  // next prompt after the next marker: counted and named as such.
  const bool sevenWords =
      ahead.size() > 9 && std::all_of(ahead.begin() + 1, ahead.begin() + 8, isWordLine);
  for (std::size_t m = 9; sevenWords && m < ahead.size(); ++m) {
    if (!isWordLine(ahead[m - 1])) break;
    if (!isMarkLine(ahead[m])) continue;
    if (!hasJapanese(ahead[0]) || (m + 2 < ahead.size() && !hasJapanese(ahead[m + 2]))) break;
    return Shift{9, m + 2,
                 name + "は単語が " + std::to_string(m - 1) +
                     " 個あります: 単語は 7 個までです（この行から後が多すぎます）"};
  }
  // A line too few: the mark comes early, and the next record's prompt two lines after it.
  for (std::size_t k = 1; k + 2 < ahead.size() && k < 8; ++k) {
    if (!isMarkLine(ahead[k]) || !hasJapanese(ahead[k + 2])) continue;
    const std::size_t length = k + 2;
    if (!hasJapanese(ahead[0])) {
      return Shift{1, length,
                   name + "は " + std::to_string(length) +
                       " 行しかありません: 問題文（日本語）の行がないようです"};
    }
    return Shift{k + 1, length,
                 name + "は " + std::to_string(length) + " 行しかありません: この行の「" +
                     text::trim(ahead[k]) + "」が終わりの記号に見えます"};
  }
  // A line too many: the mark one line late, with the next prompt after the next marker.
  if (ahead.size() >= 10 && isMarkLine(ahead[9]) && (ahead.size() < 12 || hasJapanese(ahead[11]))) {
    std::size_t extra = 8;  // the eighth word, unless a sign says which line is too many
    for (std::size_t k = 1; k <= 8; ++k) {
      if (hasJapanese(ahead[k])) {
        extra = k;  // Japanese on a word line: the prompt went on over two lines
        break;
      }
    }
    return Shift{extra + 1, 11, name + "は 11 行あります: この行が余分な行に見えます"};
  }
  return std::nullopt;
}
}  // namespace

void checkQuestionFile(QuestionFile& file, const std::function<void(const Finding&)>& onFinding,
                       const std::function<void(const AskedQuestion&)>& onQuestion,
                       bool followShifts, const PromptCheck& checkPrompt) {
  if (file.atEnd()) {
    onFinding({1, 0, "問題がありません"});
    return;
  }
  file.readLine();  // the first record's marker is not looked at
  std::vector<Finding> findings;
  std::vector<std::string> ahead;
  std::size_t first = 1;  // the marker line of the record in hand
  for (std::size_t number = 1;; ++number) {
    if (followShifts) {
      // Looks ahead of the record, then reads it again from where it starts.
      const std::uint64_t start = file.tell();
      ahead.clear();
      while (ahead.size() < kLookAhead && !file.atEnd()) ahead.push_back(file.readLine());
      file.seek(start);
      const auto shift = findShift(ahead);
      ahead.clear();  // the record is read again: a long line is not held twice
      if (shift) {
        onFinding({first + shift->line, number, shift->message});
        // The record as it really is: its lines, then the next marker.
        for (std::size_t i = 1; i < shift->length; ++i) file.readLine();
        first += shift->length;
        const Marker next = readMarker(file);
        if (next != Marker::Question) break;
        continue;
      }
    }
    const QuestionRecord record = readRecord(file);
    findings.clear();
    checkRecord(record, number, first, checkPrompt, findings);
    for (const Finding& f : findings) onFinding(f);
    if (onQuestion) onQuestion({record.prompt, modelAnswer(record)});
    const Marker next = readMarker(file);
    if (next == Marker::Question) {
      first += kLinesPerRecord;
      continue;
    }
    if (next == Marker::Star && !file.restIsBlank()) {
      onFinding(
          {first + kLinesPerRecord, number + 1, "「*」で始まる行より後の問題は出題されません"});
    }
    break;
  }
}

CheckResult checkQuestionFile(QuestionFile& file, const PromptCheck& checkPrompt) {
  CheckResult result{file.encoding(), {}, {}};
  checkQuestionFile(
      file, [&](const Finding& f) { result.findings.push_back(f); },
      [&](const AskedQuestion& q) { result.questions.push_back(q); }, true, checkPrompt);
  return result;
}

}  // namespace orvane
