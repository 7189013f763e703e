#include "web/web_speech.hpp"

#include "app/transcript.hpp"
#include "core/error.hpp"
#include "web/host.hpp"
#include "web/json_writer.hpp"

namespace orvane::web {

std::int32_t WebSpeech::defaultRate() {
  return host::speechValue("defaultRate");
}
std::int32_t WebSpeech::minRate() {
  return host::speechValue("minRate");
}
std::int32_t WebSpeech::lastError() {
  return host::speechValue("lastError");
}
std::int32_t WebSpeech::voiceModeCount() {
  return host::speechValue("count");
}

std::string WebSpeech::voiceModeTitle(std::int32_t mode) {
  auto title = host::voiceModeTitle(mode);
  if (!title) throw noSuchVoiceMode(mode);
  return std::move(*title);
}

std::int32_t WebSpeech::voiceModeLanguage(std::int32_t mode) {
  const auto language = host::voiceModeLanguage(mode);
  if (!language) throw noSuchVoiceMode(mode);
  return *language;
}

void WebSpeech::speak(const Utterance& u) {
  if (transcript_.enabled()) transcript_.write(transcript::say(u));
  host::speak(u.text, u.mode, u.rate, u.cutByNextCaption);
}

bool WebSpeech::speaking() {
  return host::speaking();
}

void WebSpeech::expectCaptions(std::int32_t mode, std::int32_t rate,
                               const std::vector<std::string>& texts) {
  JsonWriter json;
  json.beginArray();
  for (const std::string& text : texts) json.string(text);
  json.endArray();
  host::expectCaptions(mode, rate, json.text());
}

}  // namespace orvane::web
