// Errors that end a handler and reach the general error report (or a load's own failure path).
#pragma once

#include <stdexcept>
#include <string>

namespace orvane {

// The text of an Error is exactly what the error box shows, before its closing "." is added.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value outside the range a step expects (an empty text where a first character is needed,
// a table that is full).
inline Error rangeError() {
  return Error("範囲チェックエラー");
}

// A voice mode number that names no installed voice mode.
inline Error noSuchVoiceMode(int mode) {
  return Error("音声モード " + std::to_string(mode) + " はありません");
}

// A failed file operation, numbered like the classic runtime I/O errors (104: not open for input).
inline Error ioError(int code) {
  return Error("I/O エラー (" + std::to_string(code) + ")");
}

}  // namespace orvane
