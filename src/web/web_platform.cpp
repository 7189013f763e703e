#include "web/web_platform.hpp"

#include <utility>

#include "app/transcript.hpp"
#include "web/host.hpp"

namespace orvane::web {

void WebPlatform::messageBox(const std::string& text) {
  transcript_.write(transcript::message(text));
  host::messageBox(text, false);
}

void WebPlatform::errorBox(const std::string& text) {
  transcript_.write(transcript::error(text));
  host::messageBox(text, true);
}

void WebPlatform::beep() {
  transcript_.write("beep");
  host::beep();
}

std::optional<std::string> WebPlatform::chooseQuestionFile() {
  return std::exchange(chosenFile_, std::nullopt);
}

std::optional<Settings> WebPlatform::editSettings(const Settings& /*current*/) {
  return std::exchange(editedSettings_, std::nullopt);
}

void WebPlatform::showHelp(const std::string& path) {
  transcript_.write(transcript::help(path));
  host::showHelp(path);
}

void WebPlatform::focusMoved(Control c) {
  transcript_.write(transcript::focus(c));
}

Modifiers WebPlatform::heldModifiers() {
  const int held = host::heldModifiers();
  return {(held & 1) != 0, (held & 2) != 0, (held & 4) != 0};
}

std::int64_t WebPlatform::timeOfDayMs() {
  return host::timeOfDayMs();
}

std::int64_t WebPlatform::localTimeMs() {
  return host::localTimeMs();
}

}  // namespace orvane::web
