// The results record's CSV, its clock text and its file: quoting as RFC 4180 has it, the header
// written once, and a record that is not a plain file refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/results_record.hpp"
#include "core/error.hpp"

namespace orvane {
namespace {

TEST(ResultsRecord, CsvQuotesOnlyWhatNeedsIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"I am a student.", "I am a student."},
      {"Yes, I do.", "\"Yes, I do.\""},
      {"He said \"hi\"", "\"He said \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"", ""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(csvField(text), field) << text;
  EXPECT_EQ(csvRow({"a", "b,c", ""}), "a,\"b,c\",\r\n");
}

TEST(ResultsRecord, LocalTimeAsIso8601) {
  EXPECT_EQ(isoLocalTime(946'684'800'000 + 5'999), "2000-01-01T00:00:05");
  EXPECT_EQ(isoLocalTime(951'782'400'000 + 86'399'000), "2000-02-29T23:59:59");  // leap day
  EXPECT_EQ(isoLocalTime(-1), "1969-12-31T23:59:59");
}

TEST(ResultsRecord, HeaderOnceThenRowsAndNeverIntoWhatIsNotAFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("orvane-results-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "r.csv").string();
  appendResultsRow(path, "1\r\n");
  appendResultsRow(path, "2\r\n");
  std::stringstream got;
  got << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(got.str(), "\xEF\xBB\xBF" + resultsHeader() + "1\r\n2\r\n");
  EXPECT_THROW(appendResultsRow(dir.string(), "x\r\n"), Error);
  const std::string fifo = (dir / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_THROW(appendResultsRow(fifo, "x\r\n"), Error);
  std::filesystem::create_symlink(path, dir / "link.csv");
  EXPECT_THROW(appendResultsRow((dir / "link.csv").string(), "x\r\n"), Error);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orvane
