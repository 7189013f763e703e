#include "drill/question_check.hpp"

#include <algorithm>

#include "core/text.hpp"
#include "drill/question_record.hpp"

namespace orvane {

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // what the decoder makes of bad bytes
constexpr std::size_t kLinesPerRecord = 10;

bool hasBlank(std::string_view word) {
  return word.find_first_of(" \t") != std::string_view::npos ||
         word.find("\xE3\x80\x80") != std::string_view::npos;  // the full-width blank
}

// True when `text` holds nothing but blanks, ASCII or full-width, and control characters.
bool isBlankText(std::string_view text) {
  std::string rest;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 3) == "\xE3\x80\x80") {
      i += 2;
    } else {
      rest += text[i];
    }
  }
  return text::trim(rest).empty();
}

bool hasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// What is wrong with one record whose marker stands on `first`.
void checkRecord(const QuestionRecord& r, std::size_t number, std::size_t first,
                 std::vector<Finding>& out) {
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
  }
  const std::string mark = text::trim(r.wordSlots[9]);
  if (mark.empty()) {
    find(9, "終わりの記号（. ? !）がありません");
  } else if (mark != "." && mark != "?" && mark != "!") {
    find(9, hasLetter(mark) ? "単語が7つより多くあります（10行目は終わりの記号の行です）"
                            : "10行目は「.」「?」「!」のどれかでなければなりません");
  }
}
}  // namespace

void checkQuestionFile(QuestionFile& file, const std::function<void(const Finding&)>& onFinding,
                       const std::function<void(const AskedQuestion&)>& onQuestion) {
  if (file.atEnd()) {
    onFinding({1, 0, "問題がありません"});
    return;
  }
  file.readLine();  // the first record's marker is not looked at
  std::vector<Finding> findings;
  for (std::size_t number = 1;; ++number) {
    const std::size_t first = (number - 1) * kLinesPerRecord + 1;
    const QuestionRecord record = readRecord(file);
    findings.clear();
    checkRecord(record, number, first, findings);
    for (const Finding& f : findings) onFinding(f);
    if (onQuestion) onQuestion({record.prompt, modelAnswer(record)});
    const Marker next = readMarker(file);
    if (next == Marker::Question) continue;
    if (next == Marker::Star && !file.restIsBlank()) {
      onFinding(
          {first + kLinesPerRecord, number + 1, "「*」で始まる行より後の問題は出題されません"});
    }
    break;
  }
}

CheckResult checkQuestionFile(QuestionFile& file) {
  CheckResult result{file.encoding(), {}, {}};
  checkQuestionFile(
      file, [&](const Finding& f) { result.findings.push_back(f); },
      [&](const AskedQuestion& q) { result.questions.push_back(q); });
  return result;
}

}  // namespace orvane
