#include "speech/flite_voices.hpp"

#include <dlfcn.h>
#include <flite/flite.h>

#include <algorithm>
#include <mutex>
#include <optional>

#include "speech/library_check.hpp"

namespace orvane {

namespace {
struct Known {
  const char* identifier;
  const char* title;
  const char* library;   // the voice's library, opened when the voice is first used
  const char* registry;  // its function that makes the voice
};

// The first is the drill's English voice, mode 2.
constexpr Known kVoices[] = {
    {"flite/rms", "English (America)", "libflite_cmu_us_rms.so.1", "register_cmu_us_rms"},
    {"flite/slt", "English (America, slt)", "libflite_cmu_us_slt.so.1", "register_cmu_us_slt"},
    {"flite/awb", "English (America, awb)", "libflite_cmu_us_awb.so.1", "register_cmu_us_awb"},
    {"flite/kal16", "English (America, kal16)", "libflite_cmu_us_kal16.so.1",
     "register_cmu_us_kal16"},
};

// Flite's own pace is about eSpeak NG's 175 words a minute.
constexpr double kNaturalWordsPerMinute = 175;

// Flite's own functions, from its library once the first voice is opened. The voice libraries
// are large (a lexicon and a unit database each, over a hundred thousand relocations between
// them): linked in, they would all be loaded and relocated before the program starts, although
// a drill speaks with one.
struct Flite {
  decltype(&::flite_init) init = nullptr;
  decltype(&::new_audio_streaming_info) newStreamingInfo = nullptr;
  decltype(&::audio_streaming_info_val) streamingInfoValue = nullptr;
  decltype(&::feat_set) setFeature = nullptr;
  decltype(&::feat_set_float) setFloatFeature = nullptr;
  decltype(&::flite_text_to_speech) textToSpeech = nullptr;
};

template <class F>
bool find(void* library, const char* name, F& f) {
  f = reinterpret_cast<F>(::dlsym(library, name));
  return f != nullptr;
}

// The libraries every voice needs besides its own, looked over before any is opened.
constexpr const char* kShared[] = {"libflite.so.1", "libflite_usenglish.so.1",
                                   "libflite_cmulex.so.1"};

// Whether Flite and the libraries the voices share are installed and whole (checked once).
bool sharedLibrariesWhole() {
  static const bool whole = std::all_of(std::begin(kShared), std::end(kShared),
                                        [](const char* name) { return checkedLibrary(name); });
  return whole;
}

// A voice's own library where it is installed and whole; nothing otherwise.
std::optional<std::string> voiceLibrary(const Known& voice) {
  if (!sharedLibrariesWhole()) return std::nullopt;
  return checkedLibrary(voice.library);
}

// Flite itself, opened once, by the path that was looked over; null when it is not installed,
// not whole, or not Flite.
const Flite* flite() {
  static const Flite* const loaded = []() -> const Flite* {
    const auto path = sharedLibrariesWhole() ? findLibrary("libflite.so.1") : std::nullopt;
    void* library = path ? ::dlopen(path->c_str(), RTLD_NOW | RTLD_GLOBAL) : nullptr;
    static Flite f;
    if (!library || !find(library, "flite_init", f.init) ||
        !find(library, "new_audio_streaming_info", f.newStreamingInfo) ||
        !find(library, "audio_streaming_info_val", f.streamingInfoValue) ||
        !find(library, "feat_set", f.setFeature) ||
        !find(library, "feat_set_float", f.setFloatFeature) ||
        !find(library, "flite_text_to_speech", f.textToSpeech)) {
      return nullptr;
    }
    f.init();
    return &f;
  }();
  return loaded;
}

// The voice, its library opened on first use; null when it cannot be. Called on the engine's
// worker only, one source at a time.
cst_voice* voiceFor(const std::string& identifier) {
  static cst_voice* loaded[std::size(kVoices)] = {};
  static bool tried[std::size(kVoices)] = {};
  for (std::size_t i = 0; i < std::size(kVoices); ++i) {
    if (identifier != kVoices[i].identifier) continue;
    if (!tried[i] && flite()) {
      tried[i] = true;
      using Register = cst_voice* (*)(const char*);
      Register make = nullptr;
      const auto path = voiceLibrary(kVoices[i]);
      if (void* library = path ? ::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
          library && find(library, kVoices[i].registry, make)) {
        loaded[i] = make(nullptr);
      }
    }
    return loaded[i];
  }
  return nullptr;
}

// Flite's letter-to-sound rules take time that grows fast with a word's length: a runaway
// "word" of thousands of letters would hold the voice for half a minute. Nothing a drill says
// has words this long, so longer ones are broken up.
constexpr std::size_t kLongestWord = 32;

std::string withShortWords(const std::string& text) {
  std::string out;
  std::size_t run = 0;
  for (const char c : text) {
    run = (c == ' ' || c == '\t' || c == '\n') ? 0 : run + 1;
    if (run > kLongestWord && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      out += ' ';
      run = 1;
    }
    out += c;
  }
  return out;
}

int stream(const cst_wave* wave, int start, int size, int, cst_audio_streaming_info* info) {
  const auto* sink = static_cast<const SampleSink*>(info->userdata);
  return (*sink)(wave->samples + start, static_cast<std::size_t>(size)) ? CST_AUDIO_STREAM_CONT
                                                                        : CST_AUDIO_STREAM_STOP;
}
}  // namespace

std::vector<EngineVoice> FliteVoices::voices() {
  // Only the voices whose libraries are there and whole are offered; the files are looked over,
  // not opened, so listing costs no start-up time.
  std::vector<EngineVoice> out;
  for (const Known& v : kVoices) {
    if (voiceLibrary(v)) out.push_back({v.title, v.identifier, "en-us", /*clearestEnglish=*/true});
  }
  return out;
}

void FliteVoices::prepare(const std::string& identifier) {
  voiceFor(identifier);
}

void FliteVoices::synthesise(const std::string& identifier, std::int32_t wordsPerMinute,
                             const std::string& text, const SampleSink& sink) {
  cst_voice* voice = voiceFor(identifier);
  if (!voice || text.empty()) return;
  const Flite& f = *flite();
  cst_audio_streaming_info* info = f.newStreamingInfo();
  info->asc = &stream;
  info->userdata = const_cast<SampleSink*>(&sink);
  f.setFeature(voice->features, "streaming_info", f.streamingInfoValue(info));
  f.setFloatFeature(voice->features, "duration_stretch",
                    static_cast<float>(kNaturalWordsPerMinute / std::max(wordsPerMinute, 1)));
  f.textToSpeech(withShortWords(text).c_str(), voice, "none");
  // The voice owns the streaming info now; it is replaced (and freed) by the next utterance.
}

}  // namespace orvane
