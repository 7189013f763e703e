// After a wrong check, how much of the learner's sentence was right: the placed words, from the
// first, that the model answer begins with word for word.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// How many of `placed` (the words in the order placed; the first is compared with its capital,
// as the sentence shows it) begin `answer` (the model answer, trimmed and capitalised), each a
// whole word of it: "I am" begins "I am a student." but "I a" does not begin "I am ...".
std::size_t rightBeginning(const std::vector<std::string>& placed, std::string_view answer);

}  // namespace orvane
