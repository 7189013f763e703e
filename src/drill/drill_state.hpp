// The drill's state for the whole run: the current question, the learner's progress and score.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

struct DrillState {
  // true: Start reveals the words; false: Start ("Speak") checks the sentence.
  bool awaitingStart = true;
  // The first word of this attempt has been placed (and capitalised).
  bool firstWordPlaced = false;
  // The first check of this question has been counted.
  bool scored = false;
  // Words still to place; -1 before a load has counted any.
  std::int32_t remainingCount = -1;
  // Words of the current question, as loaded.
  std::int32_t loadedCount = 0;
  // Word slots 2..8 (one per word button) and the closing mark in 9; 0 and 1 are unused.
  std::array<std::string, 10> wordSlots;
  std::string answerText;
  std::string builtText;
  std::int32_t askedCount = 1;
  std::int32_t correctCount = 0;
  // The caption that was last spoken on taking the focus, for the spell-out command.
  std::string lastSpoken;
};

}  // namespace orvane
