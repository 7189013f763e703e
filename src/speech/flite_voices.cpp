#include "speech/flite_voices.hpp"

extern "C" {
#include <flite/flite.h>
cst_voice* register_cmu_us_rms(const char* voxdir);
cst_voice* register_cmu_us_slt(const char* voxdir);
cst_voice* register_cmu_us_awb(const char* voxdir);
cst_voice* register_cmu_us_kal16(const char* voxdir);
}

#include <algorithm>
#include <mutex>

namespace orvane {

namespace {
struct Known {
  const char* identifier;
  const char* title;
  cst_voice* (*registerVoice)(const char*);
};

// The first is the drill's English voice, mode 2.
constexpr Known kVoices[] = {
    {"flite/rms", "English (America)", register_cmu_us_rms},
    {"flite/slt", "English (America, slt)", register_cmu_us_slt},
    {"flite/awb", "English (America, awb)", register_cmu_us_awb},
    {"flite/kal16", "English (America, kal16)", register_cmu_us_kal16},
};

// Flite's own pace is about eSpeak NG's 175 words a minute.
constexpr double kNaturalWordsPerMinute = 175;

cst_voice* voiceFor(const std::string& identifier) {
  static std::once_flag once;
  static cst_voice* loaded[std::size(kVoices)] = {};
  std::call_once(once, [] {
    flite_init();
    for (std::size_t i = 0; i < std::size(kVoices); ++i)
      loaded[i] = kVoices[i].registerVoice(nullptr);
  });
  for (std::size_t i = 0; i < std::size(kVoices); ++i) {
    if (identifier == kVoices[i].identifier) return loaded[i];
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
  std::vector<EngineVoice> out;
  for (const Known& v : kVoices) {
    out.push_back({v.title, v.identifier, "en-us", /*clearestEnglish=*/true});
  }
  return out;
}

void FliteVoices::synthesise(const std::string& identifier, std::int32_t wordsPerMinute,
                             const std::string& text, const SampleSink& sink) {
  cst_voice* voice = voiceFor(identifier);
  if (!voice || text.empty()) return;
  cst_audio_streaming_info* info = new_audio_streaming_info();
  info->asc = &stream;
  info->userdata = const_cast<SampleSink*>(&sink);
  feat_set(voice->features, "streaming_info", audio_streaming_info_val(info));
  feat_set_float(voice->features, "duration_stretch",
                 static_cast<float>(kNaturalWordsPerMinute / std::max(wordsPerMinute, 1)));
  flite_text_to_speech(withShortWords(text).c_str(), voice, "none");
  // The voice owns the streaming info now; it is replaced (and freed) by the next utterance.
}

}  // namespace orvane
