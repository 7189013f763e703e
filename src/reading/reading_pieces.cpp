#include "reading/reading_pieces.hpp"

#include "core/text.hpp"
#include "reading/japanese_reading.hpp"

namespace orvane::japanese {

namespace {

bool endsSentence(std::string_view ch) {
  return ch == "。" || ch == "！" || ch == "？" || ch == "!" || ch == "?" || ch == "\n";
}

bool isPause(std::string_view ch) {
  return ch == " " || ch == "\t" || ch == "　" || ch == "、" || ch == "，";
}

// Digits and Latin letters of any width, which a cut between two of them would split.
bool joins(std::string_view ch) {
  if (ch.size() == 1) {
    const char c = ch[0];
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ',' ||
           c == '.';
  }
  const char32_t c = text::codePoint(ch);
  return c >= 0xFF10 && c <= 0xFF5A;
}

}  // namespace

std::size_t pieceLength(std::string_view rest) {
  if (rest.size() <= kPieceBytes) return rest.size();
  std::size_t sentence = 0, pause = 0, between = 0, any = 0;
  std::string_view before;
  for (std::size_t i = 0; i < kPieceBytes;) {
    const std::size_t length = std::max<std::size_t>(1, text::utf8Length(rest, i));
    const std::string_view ch = rest.substr(i, length);
    if (i > 0) {
      any = i;
      if (!(joins(before) && joins(ch))) between = i;
    }
    i += length;
    if (i > kPieceBytes) break;
    if (endsSentence(ch)) sentence = i;
    if (isPause(ch)) pause = i;
    before = ch;
  }
  for (std::size_t cut : {sentence, pause, between, any}) {
    if (cut > 0) return cut;
  }
  return std::min(rest.size(), kPieceBytes);
}

ReadingStream::ReadingStream(JapaneseReader& reader, std::function<void(std::string_view)> write)
    : reader_(reader), write_(std::move(write)) {}

void ReadingStream::add(std::string_view part) {
  while (!part.empty()) {
    const std::size_t room = kPieceBytes + kPieceLookahead + 1 - pending_.size();
    const std::size_t take = std::min(room, part.size());
    pending_.append(part.substr(0, take));
    part.remove_prefix(take);
    // Only with more than a piece in hand is the cut the one read() makes.
    while (pending_.size() > kPieceBytes + kPieceLookahead) readFront(pieceLength(pending_));
  }
}

void ReadingStream::finish() {
  while (!pending_.empty()) readFront(pieceLength(pending_));
  wrote_ = lastLatin_ = false;
}

void ReadingStream::readFront(std::size_t length) {
  // Joined as readingLine joins the segments read() would give: Latin runs with a blank, kana
  // straight on, and a blank between the two.
  for (const ReadingSegment& s : reader_.read(std::string_view(pending_).substr(0, length))) {
    if (wrote_ && (s.latin || lastLatin_)) write_(" ");
    write_(s.text);
    wrote_ = true;
    lastLatin_ = s.latin;
  }
  pending_.erase(0, length);
}

}  // namespace orvane::japanese
