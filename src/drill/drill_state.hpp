// The drill's state for the whole run: the current question, the learner's progress and score.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

struct DrillState {
  // true: Start reveals the words; false: Start ("Speak") checks the sentence.
  bool AwaitingStart = true;
  // The first word of this attempt has been placed (and capitalised).
  bool FirstWordPlaced = false;
  // The first check of this question has been counted.
  bool Scored = false;
  // Words still to place; -1 before a load has counted any.
  std::int32_t RemainingCount = -1;
  // Words of the current question, as loaded.
  std::int32_t LoadedCount = 0;
  std::string Prompt;
  // Word slots 2..8 (one per word button) and the closing mark in 9; 0 and 1 are unused.
  std::array<std::string, 10> Slots;
  std::string AnswerText;
  std::string BuiltText;
  std::int32_t AskedCount = 1;
  std::int32_t CorrectCount = 0;
  // The caption that was last spoken on taking the focus, for the spell-out command.
  std::string LastSpoken;
};

// Voices and speaking modes, kept beside the drill state.
struct VoiceState {
  std::int32_t IniReserved = 0;
  std::int32_t JapaneseVoiceMode = 0;
  std::int32_t EnglishVoiceMode = 0;
  bool SlowMode = false;
  std::int32_t SavedSpeed = 0;
};

}  // namespace orvane
