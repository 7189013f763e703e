// The event lines the headless runner prints, and the window writes when asked to: one line per
// utterance, box, beep, help request, focus move and the end of the program.
#pragma once

#include <cstdint>
#include <string>

#include "ui/form.hpp"

namespace orvane::transcript {

// TEXT in quotes, with backslash, quote, CR and LF escaped.
std::string quote(const std::string& text);

std::string say(std::int32_t mode, std::int32_t speed, const std::string& text);
std::string message(const std::string& text);
std::string error(const std::string& text);
std::string help(const std::string& path);
std::string focus(Control c);

}  // namespace orvane::transcript
