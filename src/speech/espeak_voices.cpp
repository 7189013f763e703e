#include "speech/espeak_voices.hpp"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <sys/stat.h>

namespace orvane {

namespace {
// eSpeak NG's own pitch range, restored after markup.
constexpr int kDefaultRange = 50;

// eSpeak NG keeps global state and calls back without a context of ours. The engine lets one
// source synthesise at a time, so one pointer to the sink of the synthesis under way serves.
const SampleSink* g_currentSink = nullptr;

struct Setup {
  bool usable = false;
  int rate = 22050;
  std::vector<EngineVoice> voices;
};
Setup g_setup;
bool g_initialised = false;

int synthCallback(short* samples, int count, espeak_EVENT*) {
  if (!g_currentSink) return 1;
  const std::size_t n = count > 0 && samples ? static_cast<std::size_t>(count) : 0;
  return (*g_currentSink)(samples, n) ? 0 : 1;
}

bool mbrolaDataInstalled(const std::string& identifier) {
  // "mb/mb-en1" needs /usr/share/mbrola/en1.
  const std::string prefix = "mb/mb-";
  if (identifier.rfind(prefix, 0) != 0) return true;
  const std::string name = identifier.substr(prefix.size());
  struct stat st {};
  return ::stat(("/usr/share/mbrola/" + name + "/" + name).c_str(), &st) == 0 ||
         ::stat(("/usr/share/mbrola/" + name).c_str(), &st) == 0;
}

std::vector<EngineVoice> listVoices() {
  std::vector<EngineVoice> voices;
  for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
    const espeak_VOICE* voice = *v;
    if (!voice->name || !voice->identifier || !voice->languages) continue;
    if (!mbrolaDataInstalled(voice->identifier)) continue;
    std::string name = voice->name;
    const std::string language = voice->languages + 1;
    if (language == "en-us") {
      // Flite's voice is the drill's English (America); eSpeak NG's own follows it, and so does
      // its Klatt variant, the clearer of eSpeak NG's.
      name = name.back() == ')' ? name.substr(0, name.size() - 1) + ", eSpeak NG)"
                                : name + " (eSpeak NG)";
      voices.push_back({name, voice->identifier, language});
      voices.push_back({"English (America, eSpeak NG Klatt)",
                        std::string(voice->identifier) + "+klatt", language});
      continue;
    }
    voices.push_back({name, voice->identifier, language});
  }
  return voices;
}
}  // namespace

bool EspeakVoices::start() {
  struct stat st {};
  // Voice data named but not there: nothing to speak with, whatever was set up before.
  if (!dataPath_.empty() && ::stat((dataPath_ + "/phontab").c_str(), &st) != 0) return false;
  if (!g_initialised) {
    g_initialised = true;
    espeak_ng_InitializePath(dataPath_.empty() ? nullptr : dataPath_.c_str());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    g_setup.usable = espeak_ng_Initialize(&context) == ENS_OK &&
                     espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 40, nullptr) == ENS_OK;
    espeak_ng_ClearErrorContext(&context);
    if (g_setup.usable) {
      g_setup.rate = espeak_ng_GetSampleRate();
      espeak_SetSynthCallback(&synthCallback);
      g_setup.voices = listVoices();
    }
  }
  return g_setup.usable;
}

std::vector<EngineVoice> EspeakVoices::voices() {
  return g_setup.voices;
}

int EspeakVoices::sampleRate() const {
  return g_setup.rate;
}

void EspeakVoices::synthesise(const std::string& identifier, std::int32_t wordsPerMinute,
                              const std::string& text, const SampleSink& sink) {
  speak(identifier, wordsPerMinute, text, espeakCHARS_UTF8, sink);
}

bool EspeakVoices::synthesiseMarkup(const std::string& identifier, std::int32_t wordsPerMinute,
                                    const std::string& ssml, const SampleSink& sink) {
  // Markup ends in a pause of digital silence that plain text does not: silence is held back
  // until sound follows it, and what is held at the end is dropped.
  std::size_t held = 0;
  std::vector<std::int16_t> silence;
  const SampleSink holding = [&](const std::int16_t* samples, std::size_t count) {
    std::size_t sounding = count;
    while (sounding > 0 && samples[sounding - 1] == 0) --sounding;
    if (count > 0 && sounding == 0) {
      held += count;
      return true;
    }
    if (held > 0 && sounding > 0) {
      silence.assign(held, 0);
      held = 0;
      if (!sink(silence.data(), silence.size())) return false;
    }
    held += count - sounding;
    return sink(samples, sounding);
  };
  speak(identifier, wordsPerMinute, ssml, espeakCHARS_UTF8 | espeakSSML, holding);
  return true;
}

void EspeakVoices::speak(const std::string& identifier, std::int32_t wordsPerMinute,
                         const std::string& text, unsigned flags, const SampleSink& sink) {
  espeak_SetVoiceByName(identifier.c_str());
  espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
  espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
  // Markup carries the program's own intonation: the voice's is turned off (a flat base), as
  // an enclosing prosody element would, without the pause such an element costs.
  const bool markup = (flags & espeakSSML) != 0;
  if (markup) espeak_SetParameter(espeakRANGE, 0, 0);
  g_currentSink = &sink;
  espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, nullptr);
  g_currentSink = nullptr;
  if (markup) espeak_SetParameter(espeakRANGE, kDefaultRange, 0);
}

}  // namespace orvane
