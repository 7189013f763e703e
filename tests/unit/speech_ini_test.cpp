#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/speech_ini.hpp"
#include "app/voice_settings.hpp"
#include "core/error.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(IniInteger, AcceptsDecimalAndHexForms) {
  EXPECT_EQ(parseIniInteger("3"), 3);
  EXPECT_EQ(parseIniInteger("  -12"), -12);
  EXPECT_EQ(parseIniInteger("+7"), 7);
  EXPECT_EQ(parseIniInteger("$1F"), 31);
  EXPECT_EQ(parseIniInteger("x10"), 16);
  EXPECT_EQ(parseIniInteger("0Xff"), 255);
  EXPECT_EQ(parseIniInteger("-$10"), -16);
  EXPECT_EQ(parseIniInteger("007"), 7);
  EXPECT_EQ(parseIniInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseIniInteger("-2147483648"), -2147483647 - 1);
}

TEST(IniInteger, RejectsAnythingElse) {
  for (const char* bad : {"", " ", "3a", "3 ", "-", "$", "0x", "1.5", "２", "2147483648",
                          "-2147483649", "99999999999999999999", "+-1"}) {
    EXPECT_FALSE(parseIniInteger(bad).has_value()) << '"' << bad << '"';
  }
}

TEST(SpeechIniFile, ReadsLinesTwoAndThreeAndIgnoresTheRest) {
  const SpeechIni ini = parseSpeechIni("0\r\n3\r\n5\r\nanything\r\n");
  EXPECT_EQ(ini.japaneseVoiceMode, 3);
  EXPECT_EQ(ini.englishVoiceMode, 5);
  // Line 1 may hold any text, or none.
  EXPECT_EQ(parseSpeechIni("\n1\n2").englishVoiceMode, 2);
  EXPECT_EQ(parseSpeechIni("reserved words\r\n-1\r\n99").japaneseVoiceMode, -1);
}

TEST(SpeechIniFile, MissingOrBadLinesAreErrors) {
  EXPECT_THROW(parseSpeechIni(""), Error);
  EXPECT_THROW(parseSpeechIni("0\r\n3\r\n"), Error);
  EXPECT_THROW(parseSpeechIni("0\r\n3a\r\n5\r\n"), Error);
  EXPECT_THROW(parseSpeechIni("0\r\n\r\n5\r\n"), Error);
  EXPECT_THROW(readSpeechIni("/nonexistent/speech.ini"), Error);
}

TEST(SpeechIniFile, ALineOfAnyLengthIsTheNumberItHoldsNeverACutOne) {
  const std::string zeros(66, '0'), blanks(100, ' ');
  const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
      {zeros + "2", 2},
      {blanks + "3", 3},
      {"-" + zeros + "7", -7},
      {"0x" + zeros + "1F", 31},
      {blanks + "-" + zeros + "12", -12},
      {zeros + "x5", std::nullopt},  // zeros before a hex sign: no integer, however many
      {"1" + zeros, std::nullopt},   // 67 digits: far past any integer
      {zeros + "2a", std::nullopt},
      {zeros, 0},
  };
  for (const auto& [line, expected] : cases) {
    const std::string file = "0\n" + line + "\n1\n";
    if (expected) {
      EXPECT_EQ(parseSpeechIni(file).japaneseVoiceMode, *expected) << line;
    } else {
      EXPECT_THROW(parseSpeechIni(file), Error) << line;
    }
  }
}

TEST(SpeechIniFile, FormatIsThreeCrLfLines) {
  EXPECT_EQ(formatSpeechIni(0, {3, 5}), "0\r\n3\r\n5\r\n");
  EXPECT_EQ(formatSpeechIni(0, {-1, 99}), "0\r\n-1\r\n99\r\n");
}

TEST(LanguageFold, JapaneseAndEnglishIdentifiers) {
  for (int id : {17, 1041, 2065}) EXPECT_EQ(classifyLanguage(id), VoiceLanguage::Japanese) << id;
  for (int id : {9, 1033, 2057}) EXPECT_EQ(classifyLanguage(id), VoiceLanguage::English) << id;
  for (int id : {0, 3081, 4105, 1042, 3089, -1, 1024 + 17 + 2048}) {
    EXPECT_EQ(classifyLanguage(id), VoiceLanguage::Other) << id;
  }
}

}  // namespace
}  // namespace orvane
