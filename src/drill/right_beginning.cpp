#include "drill/right_beginning.hpp"

#include "core/text.hpp"

namespace orvane {

std::size_t rightBeginning(const std::vector<std::string>& placed, std::string_view answer) {
  std::size_t at = 0;
  for (std::size_t k = 0; k < placed.size(); ++k) {
    const std::string word = k == 0 ? text::capitaliseFirst(placed[k]) : placed[k];
    if (k > 0) {
      if (at >= answer.size() || answer[at] != ' ') return k;
      ++at;
    }
    if (word.empty() || answer.substr(at, word.size()) != word) return k;
    at += word.size();
    // The word ends where the answer's word does: at a blank, the closing mark or the end.
    if (at < answer.size() && answer[at] != ' ' && answer[at] != '.' && answer[at] != '?' &&
        answer[at] != '!') {
      return k;
    }
  }
  return placed.size();
}

}  // namespace orvane
