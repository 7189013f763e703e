// The counter table: how each counter is read after a number, and how it changes the number
// before it (イッポン, サンボン, ヨジ, ツイタチ). The table is data (data/reading/counters.tsv,
// built into the program), read once.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::japanese {

struct Counter {
  std::string surface;                              // as written: 本, 日間, ％
  std::string reading;                              // plain reading
  std::vector<std::string> smallTsu;                // keys whose last part ends in ッ
  std::map<std::string, std::string> readingAfter;  // key -> the counter's reading after it
  std::map<std::string, std::string> digitForm;     // "4" -> ヨ
  std::map<std::uint64_t, std::string> whole;       // 20 -> ハタチ
  std::map<std::uint64_t, std::string> monthDay;    // 1 -> ツイタチ
  const Counter* as = nullptr;                      // read as this counter, then `asSuffix`
  std::string asSuffix;
};

class CounterTable {
 public:
  // Reads a table in the format that data/reading/counters.tsv documents; a line that does not
  // parse is reported through `error` (the line's number and what is wrong) and left out.
  static CounterTable parse(std::string_view tsv, std::string* error = nullptr);
  // The table built into the program.
  static const CounterTable& builtIn();

  // The counter written exactly `surface`, or null.
  const Counter* find(std::string_view surface) const;
  // The longest counter that `text` starts with, or null.
  const Counter* longestPrefix(std::string_view text) const;
  const std::vector<Counter>& counters() const { return counters_; }

 private:
  std::vector<Counter> counters_;  // never resized after parse: `as` points into it
};

}  // namespace orvane::japanese
