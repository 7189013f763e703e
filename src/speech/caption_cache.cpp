#include "speech/caption_cache.hpp"

namespace orvane {

std::string CaptionCache::keyOf(const std::string& voice, std::int32_t rate,
                                const std::string& text) {
  return voice + '\n' + std::to_string(rate) + '\n' + text;
}

const std::vector<std::int16_t>* CaptionCache::find(const std::string& key) {
  const auto it = index_.find(key);
  if (it == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, it->second);
  return &it->second->samples;
}

bool CaptionCache::store(const std::string& key, std::vector<std::int16_t> samples) {
  if (samples.empty() || samples.size() > maxSamples_) return false;
  if (const auto it = index_.find(key); it != index_.end()) {
    total_ -= it->second->samples.size();
    entries_.erase(it->second);
    index_.erase(it);
  }
  while (total_ + samples.size() > maxSamples_) {
    total_ -= entries_.back().samples.size();
    index_.erase(entries_.back().key);
    entries_.pop_back();
  }
  total_ += samples.size();
  entries_.push_front({key, std::move(samples)});
  index_[key] = entries_.begin();
  return true;
}

}  // namespace orvane
