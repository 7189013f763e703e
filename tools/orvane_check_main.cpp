// orvane-check: the question-file checker for teachers.
//   orvane-check [--list] FILE.dat...
//   orvane-check --from-csv FILE.csv > FILE.dat
// reads each file exactly as the drill does and prints what would go wrong in the drill, one
// finding a line as FILE:LINE: 問題N: message, after a line that says which encoding the file
// is read in. --list prints each question as the drill will ask it. Exit status: 0 when every
// file is clean, 1 with findings, 2 when a file cannot be read (or the command line is wrong).
#include <iostream>
#include <string>
#include <vector>

#include "core/error.hpp"
#include "core/regular_file.hpp"
#include "drill/csv_lesson.hpp"
#include "drill/question_check.hpp"
#include "reading/japanese_reading.hpp"
#include "reading/unread_characters.hpp"

#ifndef ORVANE_VERSION
#define ORVANE_VERSION "unknown"
#endif

namespace {
constexpr const char* kUsage =
    "usage: orvane-check [--list] FILE.dat...\n"
    "       orvane-check --from-csv FILE.csv > FILE.dat\n"
    "Checks question files as the drill reads them. For each file, a line that names the\n"
    "encoding it is read in (FILE: 文字コード ENCODING として読みます), then one line per\n"
    "finding: FILE:LINE: 問題N: message.\n"
    "  --list     also print each question as the drill will ask it (prompt and model answer)\n"
    "  --from-csv print a question file (UTF-8) made from a spreadsheet's CSV: one question a\n"
    "             row, the Japanese prompt, then the English sentence in one cell or its words\n"
    "             in cells of their own; each row left out is named on standard error\n"
    "  --help     this text\n"
    "  --version  the program's version\n"
    "Exit status: 0 clean, 1 findings, 2 a file could not be read.\n";
// --from-csv: the question file on standard output, the rows left out on standard error.
int fromCsv(const std::string& path) {
  std::string bytes;
  try {
    orvane::RegularFile file(path);
    if (file.size() > orvane::QuestionFile::kMaxBytes) {
      std::cerr << "orvane-check: " << path << ": too large\n";
      return 2;
    }
    bytes.resize(file.size());
    bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
  } catch (const orvane::Error& e) {
    std::cerr << "orvane-check: " << e.what() << '\n';
    return 2;
  }
  const orvane::CsvLesson lesson = orvane::questionFileFromCsv(bytes);
  for (const orvane::CsvRowProblem& p : lesson.problems)
    std::cerr << path << ':' << p.row << ": " << p.message << '\n';
  std::cout << lesson.questionFile;
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "orvane-check: could not write the question file\n";
    return 1;
  }
  std::cerr << path << ": " << lesson.questions << " 問を書きました"
            << (lesson.headerSkipped ? "（1 行目は見出しとして飛ばしました）" : "") << '\n';
  return lesson.problems.empty() ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
  bool list = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version") {
      std::cout << "orvane-check " << ORVANE_VERSION << '\n';
      return 0;
    }
    if (arg == "--from-csv") {
      if (i + 2 != argc) {
        std::cerr << "orvane-check: --from-csv takes one file\n" << kUsage;
        return 2;
      }
      return fromCsv(argv[i + 1]);
    }
    if (arg == "--list") {
      list = true;
    } else if (arg.rfind("--", 0) == 0) {
      std::cerr << "orvane-check: unknown option: " << arg << '\n' << kUsage;
      return 2;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  int status = 0;
  // The drill's own reader says which prompt characters the Japanese voice would drop.
  orvane::JapaneseReader reader;
  orvane::PromptCheck checkPrompt;
  if (reader.hasDictionary()) {
    checkPrompt = [&reader](const std::string& prompt) {
      return orvane::unreadCharactersFinding(reader, prompt);
    };
  } else {
    std::cerr << "orvane-check: the MeCab dictionary is missing (" << reader.kDefaultDictionary
              << "): prompts are not checked for characters the voice cannot read\n";
  }
  // Opens `path` on `file`; a file that cannot be read is said, status 2.
  const auto open = [&status](orvane::QuestionFile& file, const std::string& path) {
    try {
      file.open(path);
      return true;
    } catch (const orvane::Error& e) {
      std::cerr << "orvane-check: " << e.what() << '\n';
      status = 2;
      return false;
    }
  };
  for (const std::string& path : files) {
    orvane::QuestionFile file;
    if (!open(file, path)) continue;
    const bool utf8 = file.encoding() == orvane::Encoding::Utf8;
    const char* const name = file.encoding() == orvane::Encoding::Utf16 ? "UTF-16"
                             : utf8                                     ? "UTF-8"
                                                                        : "Shift-JIS";
    std::cout << path << ": 文字コード " << name << " として読みます";
    // The bytes read in the other encoding too: the teacher can see which was chosen, and why
    // the text may look wrong.
    if (file.otherEncodingPossible())
      std::cout << "（" << (utf8 ? "Shift-JIS" : "UTF-8") << " としても読めます）";
    std::cout << '\n';
    // Findings are printed as they are found, and the questions of --list in a second reading,
    // so a file of any size is checked in the same memory.
    bool found = false;
    orvane::checkQuestionFile(
        file,
        [&](const orvane::Finding& f) {
          found = true;
          std::cout << path << ':' << f.line << ": ";
          if (f.record > 0) std::cout << "問題" << f.record << ": ";
          std::cout << f.message << '\n';
        },
        nullptr, /*followShifts=*/true, checkPrompt);
    if (list) {
      std::size_t asked = 0;
      if (!open(file, path)) continue;
      orvane::checkQuestionFile(
          file, [](const orvane::Finding&) {},
          [&](const orvane::AskedQuestion& q) {
            std::cout << "問題" << ++asked << ": " << q.prompt << "\n  答え: " << q.answer << '\n';
          },
          /*followShifts=*/false);
    }
    if (found && status == 0) status = 1;
  }
  // Findings that could not be written (a full disk, a closed pipe) must not pass for a clean
  // file.
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "orvane-check: could not write the findings\n";
    return status == 2 ? 2 : 1;
  }
  return status;
}
