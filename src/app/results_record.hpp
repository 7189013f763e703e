// The results record a teacher reads in a spreadsheet: one CSV row (RFC 4180, UTF-8 with a
// byte-order mark, lines ending in CR LF) for every check, every question skipped and every
// answer shown, appended to a file in the current folder that settings.ini names. Each row is
// written whole and forced to the disk when it is made, so a crash or a pulled plug loses at
// most the row being made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.hpp"

namespace orvane {

// One field as RFC 4180 writes it: quoted when it holds a quote, a comma or a line break.
std::string csvField(std::string_view text);
// The fields joined by commas, ending in CR LF.
std::string csvRow(const std::vector<std::string>& fields);
// Local time given as milliseconds since 1970-01-01T00:00:00 local, as ISO 8601 with a T:
// "2000-01-01T00:00:05".
std::string isoLocalTime(std::int64_t localMs);

// The header row, written first into a new or empty record.
std::string resultsHeader();

// Appends `row` to the record at `path`, with the byte-order mark and header first when the
// file is new or empty. Throws Error when it cannot be written whole.
void appendResultsRow(const std::string& path, const std::string& row);

// Records the attempt in the record settings.ini names, if any; a record that cannot be written
// is named once in a message box, and the drill goes on.
void recordAttempt(Session& s, const CheckedAttempt& a);

}  // namespace orvane
