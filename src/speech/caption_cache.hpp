// The sound of the focus captions lately spoken, as it went to the sink, so that a caption
// heard before plays again at once: moving through the same buttons again and again (Tab, the
// auto-scan) is most of what a learner who cannot see does, and a synthesiser that analyses a
// word before its first sample (Flite: 3 to 5 ms) would make each of those keys wait.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class CaptionCache {
 public:
  // Holds at most `maxSamples` samples in all; the captions used longest ago give way.
  explicit CaptionCache(std::size_t maxSamples) : maxSamples_(maxSamples) {}

  // A caption's key: the voice, the rate and the text it is spoken with.
  static std::string keyOf(const std::string& voice, std::int32_t rate, const std::string& text);

  // The caption's sound, or null; a hit counts as a use.
  const std::vector<std::int16_t>* find(const std::string& key);
  // Keeps a caption's sound; false for one longer than the whole cache, which is not kept.
  bool store(const std::string& key, std::vector<std::int16_t> samples);
  std::size_t samples() const { return total_; }

 private:
  struct Entry {
    std::string key;
    std::vector<std::int16_t> samples;
  };
  std::size_t maxSamples_;
  std::size_t total_ = 0;
  std::list<Entry> entries_;  // most lately used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace orvane
