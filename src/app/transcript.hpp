// The event lines the headless runner prints, and the window writes when asked to: one line per
// utterance, box, beep, help request, focus move and the end of the program.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "core/speech_control.hpp"
#include "window/form.hpp"

namespace orvane::transcript {

// TEXT in quotes, with backslash, quote, CR and LF escaped as \\, \", \r and \n, and every other
// control character (C0, DEL, C1) as \xNN for each of its bytes, so that a question file can
// never drive the terminal that shows a transcript.
void writeQuoted(std::ostream& out, std::string_view text);
std::string quote(std::string_view text);

// A say line, written straight out: a prompt of any length is never copied to build it.
void writeSay(std::ostream& out, const Utterance& u);

std::string say(const Utterance& u);
std::string message(const std::string& text);
std::string error(const std::string& text);
std::string help(const std::string& path);
std::string focus(Control c);

}  // namespace orvane::transcript
