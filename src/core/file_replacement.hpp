// Safe replacement of a small file the program saves (speech.ini, settings.ini).
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Replaces the contents of `path` safely: a new file is written and synced beside it (under
// savingPath), then renamed over the old one, so a failure or a kill never leaves a truncated
// or empty file behind. A link is followed to the file it names. Only a regular file is ever
// replaced, and only one the user may write. The old file's mode, owner and group are kept; a
// file with hard links, whose owner cannot be kept, or in a folder the user may not write in is
// rewritten in place instead. Throws Error with the reason when a step fails; nothing is
// touched when the file may not be written.
void writeFileReplacing(const std::string& path, std::string_view contents);

// The file a save writes before it renames it over `target`.
std::string savingPath(const std::string& target);

}  // namespace orvane
