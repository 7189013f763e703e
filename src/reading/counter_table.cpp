#include "reading/counter_table.hpp"

#include <cstdint>

#include "core/text.hpp"

namespace orvane::japanese {

// The counter table's text, built into the program from data/reading/counters.tsv.
extern const char* const kCounterTableText;

namespace {

bool parseCount(std::string_view s, std::uint64_t& out) {
  if (s.empty() || s.size() > 18) return false;
  out = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return true;
}

// One rule field of a counter line; false when it does not parse.
bool parseRule(std::string_view field, Counter& counter, std::string& asName) {
  std::vector<std::string_view> words;
  for (std::string_view w : text::split(field, ' ')) {
    if (!w.empty()) words.push_back(w);
  }
  if (words.empty()) return false;
  const std::string_view rule = words[0];
  if (rule == "small-tsu" && words.size() >= 2) {
    counter.smallTsu.assign(words.begin() + 1, words.end());
    return true;
  }
  if (rule == "after" && words.size() >= 3) {
    for (std::size_t i = 1; i + 1 < words.size(); ++i) {
      counter.readingAfter[std::string(words[i])] = words.back();
    }
    return true;
  }
  if (rule == "digit" && words.size() == 3 && words[1].size() == 1 && words[1][0] >= '0' &&
      words[1][0] <= '9') {
    counter.digitForm[std::string(words[1])] = words[2];
    return true;
  }
  std::uint64_t n = 0;
  if ((rule == "whole" || rule == "month-day") && words.size() == 3 && parseCount(words[1], n)) {
    (rule == "whole" ? counter.whole : counter.monthDay)[n] = words[2];
    return true;
  }
  if (rule == "as" && (words.size() == 2 || words.size() == 3)) {
    asName = words[1];
    if (words.size() == 3) counter.asSuffix = words[2];
    return true;
  }
  return false;
}

}  // namespace

CounterTable CounterTable::parse(std::string_view tsv, std::string* error) {
  CounterTable table;
  std::vector<std::string> asNames;
  std::size_t lineNumber = 0;
  for (std::string_view line : text::split(tsv, '\n')) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string_view> fields = text::split(line, '\t');
    Counter counter;
    std::string asName;
    bool ok = fields.size() >= 2 && !fields[0].empty() && !fields[1].empty();
    if (ok) {
      counter.surface = fields[0];
      counter.reading = fields[1];
      for (std::size_t f = 2; ok && f < fields.size(); ++f)
        ok = parseRule(fields[f], counter, asName);
    }
    if (!ok) {
      if (error && error->empty())
        *error = "line " + std::to_string(lineNumber) + ": " + std::string(line);
      continue;
    }
    table.counters_.push_back(std::move(counter));
    asNames.push_back(std::move(asName));
  }
  for (std::size_t i = 0; i < table.counters_.size(); ++i) {
    if (asNames[i].empty()) continue;
    const Counter* base = table.find(asNames[i]);
    if (!base || base->as || base == &table.counters_[i]) {
      if (error && error->empty())
        *error = table.counters_[i].surface + ": as " + asNames[i] + " names no plain counter";
      continue;
    }
    table.counters_[i].as = base;
  }
  return table;
}

const CounterTable& CounterTable::builtIn() {
  static const CounterTable table = parse(kCounterTableText);
  return table;
}

const Counter* CounterTable::find(std::string_view surface) const {
  for (const Counter& c : counters_) {
    if (c.surface == surface) return &c;
  }
  return nullptr;
}

const Counter* CounterTable::longestPrefix(std::string_view text) const {
  const Counter* best = nullptr;
  for (const Counter& c : counters_) {
    if (text.starts_with(c.surface) && (!best || c.surface.size() > best->surface.size())) {
      best = &c;
    }
  }
  return best;
}

}  // namespace orvane::japanese
