// orvane-say: the drill's voice on the command line.
//   orvane-say --list                      every voice mode as "N) TITLE LANGID"
//   orvane-say [--mode N] [--speed S] [--wav FILE] TEXT...
//   orvane-say --reading [TEXT...]         what the voices are handed for each Japanese TEXT
//   orvane-say --accent [TEXT...]          the same, with the pitch accent the voice is given
// speaks the text (voice mode 2, English, unless --mode says otherwise), or writes it to a WAV
// file. Exit status 1 when the sound could not be played or written, 2 for a wrong command line.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reading/accent.hpp"
#include "reading/japanese_reading.hpp"
#include "reading/reading_pieces.hpp"
#include "speech/speech_engine.hpp"

namespace {
constexpr std::chrono::seconds kStallLimit{5};

int usage() {
  std::cerr << "usage: orvane-say --list\n"
               "       orvane-say [--mode N] [--speed S] [--wav FILE] TEXT...\n"
               "       orvane-say --reading [TEXT...]\n"
               "       orvane-say --accent [TEXT...]\n";
  return 2;
}

// One line per text: the kana the Japanese voice is handed, and Latin words, which go to the
// English voice, as they are. Without TEXT, each line of standard input is one text, read as it
// comes in bounded pieces, so a line of any length prints its reading in the same memory.
int printReadings(const std::vector<std::string>& texts) {
  orvane::JapaneseReader reader;
  if (!reader.hasDictionary()) {
    std::cerr << "orvane-say: the MeCab dictionary is missing (" << reader.kDefaultDictionary
              << "): kanji are left unread\n";
  }
  orvane::japanese::ReadingStream stream(reader, [](std::string_view reading) {
    std::cout.write(reading.data(), static_cast<std::streamsize>(reading.size()));
  });
  const auto endLine = [&] {
    stream.finish();
    std::cout << '\n';
  };
  if (texts.empty()) {
    std::vector<char> block(64 * 1024);
    bool open = false;  // a line has begun that has not ended
    while (std::cin.read(block.data(), static_cast<std::streamsize>(block.size())) ||
           std::cin.gcount() > 0) {
      std::string_view rest(block.data(), static_cast<std::size_t>(std::cin.gcount()));
      for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos;) {
        stream.add(rest.substr(0, end));
        endLine();
        rest.remove_prefix(end + 1);
        open = false;
      }
      stream.add(rest);
      open = open || !rest.empty();
    }
    if (open) endLine();
  }
  for (const std::string& text : texts) {
    stream.add(text);
    endLine();
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "orvane-say: could not write the readings\n";
    return 1;
  }
  return 0;
}

// One line per text, as --reading prints it, with the accent marked on the Japanese kana.
int printAccents(const std::vector<std::string>& texts) {
  orvane::JapaneseReader reader;
  orvane::AccentDictionary accents;
  if (!accents.available()) {
    std::cerr << "orvane-say: " << accents.problem() << ": the prompt is spoken without accent\n";
    return 1;
  }
  const auto print = [&](const std::string& text) {
    std::vector<orvane::ReadingSegment> segments = reader.read(text);
    orvane::markSegments(segments, accents.phrases(text));
    std::cout << orvane::readingLine(segments) << '\n';
  };
  if (texts.empty()) {
    for (std::string line; std::getline(std::cin, line);) print(line);
  }
  for (const std::string& text : texts) print(text);
  std::cout.flush();
  return std::cout ? 0 : 1;
}

bool toInt(const char* s, int& out) {
  char* end = nullptr;
  const long v = std::strtol(s, &end, 10);
  if (!*s || *end || v < -2147483647L || v > 2147483647L) return false;
  out = static_cast<int>(v);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  bool list = false, reading = false, accent = false;
  std::vector<std::string> texts;
  int mode = 2, speed = orvane::SpeechEngine::kDefaultSpeed;
  std::string wav, text;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::cout << "usage: orvane-say --list\n"
                   "       orvane-say [--mode N] [--speed S] [--wav FILE] TEXT...\n"
                   "       orvane-say --reading [TEXT...]\n"
                   "       orvane-say --accent [TEXT...]\n"
                   "Speaks TEXT with the drill's voice (mode 2, English, unless --mode says\n"
                   "otherwise) at S words a minute, or writes it to a WAV file. --list prints\n"
                   "every voice mode as N) TITLE LANGUAGE-ID. --reading prints, one line for\n"
                   "each TEXT (or each line of standard input), what the voices are handed for\n"
                   "it: the Japanese voice's kana, and Latin words, which the English voice\n"
                   "says, as they are. --accent prints the same with the pitch accent the\n"
                   "Japanese voice is given: / between accent phrases, ' after the mora the\n"
                   "pitch falls after, none in a flat phrase (ハ'シデ/タベマ'ス).\n";
      return 0;
    }
    if (arg == "--version") {
      std::cout << "orvane-say " << ORVANE_VERSION << '\n';
      return 0;
    }
    if (arg == "--list") {
      list = true;
    } else if (arg == "--reading") {
      reading = true;
    } else if (arg == "--accent") {
      accent = true;
    } else if ((arg == "--mode" || arg == "--speed") && i + 1 < argc) {
      if (!toInt(argv[++i], arg == "--mode" ? mode : speed)) return usage();
    } else if (arg == "--wav" && i + 1 < argc) {
      wav = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      std::cerr << "orvane-say: unknown option or missing value: " << arg << '\n';
      return usage();
    } else {
      if (!text.empty()) text += ' ';
      text += arg;
      texts.push_back(arg);
    }
  }
  if (reading && accent) return usage();
  if (reading) return list ? usage() : printReadings(texts);
  if (accent) return list ? usage() : printAccents(texts);
  if (!list && text.empty()) return usage();
  using orvane::SpeechEngine;
  if (speed < SpeechEngine::kMinSpeed || speed > SpeechEngine::kMaxSpeed) {
    std::cerr << "orvane-say: speed " << speed << " is out of range: " << SpeechEngine::kMinSpeed
              << " to " << SpeechEngine::kMaxSpeed << " words a minute\n";
    return 2;
  }

  orvane::CaptureSink* capture = nullptr;
  orvane::EngineOptions options;
  // Listing needs no sound device.
  if (!wav.empty() || list) {
    options.makeSink = [&capture] {
      auto sink = std::make_unique<orvane::CaptureSink>();
      capture = sink.get();
      return sink;
    };
  }
  orvane::SpeechEngine engine(options);

  if (list) {
    engine.wantServerVoices();  // a speech-dispatcher installed but not running is started
    for (int i = 1; i <= engine.voiceModeCount(); ++i) {
      std::cout << i << ") " << engine.voiceModeTitle(i) << ' ' << engine.voiceModeLanguage(i)
                << '\n';
    }
    return 0;
  }
  if (mode > engine.builtInVoiceModeCount()) engine.wantServerVoices();  // a server's voice
  if (mode < 1 || mode > engine.voiceModeCount()) {
    std::cerr << "orvane-say: there is no voice mode " << mode << ": the modes are 1 to "
              << engine.voiceModeCount() << " (--list shows them)\n";
    return 2;
  }
  const auto soundError = [&] {
    const std::int32_t e = engine.lastError();
    return e == SpeechEngine::kNoSoundDevice || e == SpeechEngine::kSoundDeviceFailed;
  };
  const bool voiceDataMissing = engine.lastError() == SpeechEngine::kNoVoiceData;
  if (const std::int32_t e = engine.lastError(); e == SpeechEngine::kNoVoiceData) {
    std::cerr << "orvane-say: eSpeak NG's voice data is missing (speech engine error 3): the "
                 "Japanese voice and the other languages are silent\n";
    if (engine.voiceModeCount() == 0) return 1;
  } else if (e != 0) {
    std::cerr << "orvane-say: speech engine error " << e << '\n';
    if (soundError()) return 1;
  }
  engine.speak({text, mode, speed});
  // A sound server that stops answering holds the voice for good: give up when no sound has
  // gone out for a while. A WAV file involves no device: its text is written however long it
  // takes.
  if (capture) {
    engine.waitUntilIdle();
  } else if (!engine.waitUntilIdle(kStallLimit)) {
    std::cerr << "orvane-say: the sound device stopped answering\n";
    return 1;
  }
  if (!voiceDataMissing && engine.lastError() == SpeechEngine::kNoVoiceData) {
    std::cerr << "orvane-say: voice mode " << mode << " (" << engine.voiceModeTitle(mode)
              << ") made no sound (speech engine error 3): its voice is broken\n";
    return 1;
  }
  if (!capture && soundError()) {
    std::cerr << "orvane-say: the sound device failed (speech engine error " << engine.lastError()
              << ")\n";
    return 1;
  }
  if (capture) {
    try {
      capture->writeWav(wav);
    } catch (const std::exception& e) {
      std::cerr << "orvane-say: " << e.what() << '\n';
      return 1;
    }
  }
  return 0;
}
