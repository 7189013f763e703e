// Long texts read in pieces of bounded size, cut where no word or number runs across: MeCab's
// words hold at most 64 KiB and its lattice takes some 300 bytes a byte, so a line of any length
// reads in the same memory (and a run of one kind of character, which MeCab reads in time that
// grows with the square of its length, in time that grows with its length). Texts that fit in
// one piece, every prompt a drill has, read whole.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orvane {
class JapaneseReader;
}

namespace orvane::japanese {

constexpr std::size_t kPieceBytes = 1024;
// How far past a piece pieceLength may look: one character.
constexpr std::size_t kPieceLookahead = 4;

// The length of the first piece of `rest`: all of it when it fits, else a cut within the first
// kPieceBytes, after a sentence's end, else at a blank or comma, else between two characters of
// which not both are digits or Latin letters, else between any two characters. It looks no
// further than kPieceBytes + kPieceLookahead bytes.
std::size_t pieceLength(std::string_view rest);

// Reads one text handed over in parts of any size, and writes its reading as it goes, in bounded
// memory: what it writes is readingLine(reader.read(text)).
class ReadingStream {
 public:
  ReadingStream(JapaneseReader& reader, std::function<void(std::string_view)> write);
  void add(std::string_view part);
  // The text ends: the rest is read, and the next add() starts a new text.
  void finish();

 private:
  void readFront(std::size_t length);

  JapaneseReader& reader_;
  std::function<void(std::string_view)> write_;
  std::string pending_;
  bool wrote_ = false, lastLatin_ = false;
};

}  // namespace orvane::japanese
