#include <algorithm>
#include <cstdint>

#include "core/text.hpp"
#include "reading/accent.hpp"

namespace orvane {

bool isSmallKana(std::string_view ch) {
  static constexpr std::string_view kSmall[] = {"ャ", "ュ", "ョ", "ァ", "ィ",
                                                "ゥ", "ェ", "ォ", "ヮ"};
  return std::find(std::begin(kSmall), std::end(kSmall), ch) != std::end(kSmall);
}

bool isKatakana(std::string_view ch) {
  const char32_t c = text::codePoint(ch);
  return (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC;  // ァ..ヺ and ー
}

std::vector<std::string_view> morae(std::string_view kana) {
  std::vector<std::string_view> out;
  const char* begin = nullptr;
  for (std::string_view ch : text::characters(kana)) {
    if (isSmallKana(ch) && begin) {
      out.back() = std::string_view(begin, static_cast<std::size_t>(ch.data() + ch.size() - begin));
      continue;
    }
    begin = ch.data();
    out.push_back(ch);
  }
  return out;
}

namespace {

// One mora of the accent as written, with its marks.
struct MarkedMora {
  std::string kana;
  bool phraseStart = false;
  bool nucleus = false;
};

std::vector<MarkedMora> parseMarked(std::string_view accented) {
  std::vector<MarkedMora> out;
  bool start = true;
  for (std::string_view ch : text::characters(accented)) {
    if (ch == "/") {
      start = true;
    } else if (ch == "'") {
      if (!out.empty()) out.back().nucleus = true;
    } else if (isKatakana(ch)) {
      if (isSmallKana(ch) && !out.empty() && !start) {
        out.back().kana += ch;
      } else {
        out.push_back({std::string(ch), start, false});
        start = false;
      }
    }
  }
  return out;
}

}  // namespace

std::string markAccent(std::string_view kana, std::string_view accented) {
  const std::vector<MarkedMora> marks = parseMarked(accented);
  // The reader's text: morae, and the characters between them that pass through.
  struct Piece {
    std::string_view text;
    bool mora;
  };
  std::vector<Piece> pieces;
  std::vector<std::size_t> moraAt;  // index in pieces of each mora
  for (std::string_view ch : text::characters(kana)) {
    if (isKatakana(ch)) {
      if (isSmallKana(ch) && !pieces.empty() && pieces.back().mora) {
        Piece& last = pieces.back();
        last.text = std::string_view(last.text.data(), last.text.size() + ch.size());
        continue;
      }
      moraAt.push_back(pieces.size());
      pieces.push_back({ch, true});
    } else {
      pieces.push_back({ch, false});
    }
  }
  const std::size_t n = moraAt.size(), m = marks.size();
  // Lined up by the least edits (a mora kept, changed, added or dropped), within bounds: a
  // text too long to line up is kept unmarked.
  std::vector<int> nucleusOf(n, 0), startOf(n, 0), linedUp(n, 0);
  if (n > 0 && m > 0 && n * m <= 4'000'000) {
    std::vector<std::uint32_t> cost((n + 1) * (m + 1));
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
      return cost[i * (m + 1) + j];
    };
    for (std::size_t i = 0; i <= n; ++i) at(i, 0) = static_cast<std::uint32_t>(i);
    for (std::size_t j = 0; j <= m; ++j) at(0, j) = static_cast<std::uint32_t>(j);
    const auto same = [&](std::size_t i, std::size_t j) {
      return pieces[moraAt[i]].text == marks[j].kana;
    };
    for (std::size_t i = 1; i <= n; ++i) {
      for (std::size_t j = 1; j <= m; ++j) {
        at(i, j) = std::min({at(i - 1, j - 1) + (same(i - 1, j - 1) ? 0u : 1u), at(i - 1, j) + 1,
                             at(i, j - 1) + 1});
      }
    }
    // Back from the end: a mora kept or changed takes the marks of the one it lines up with;
    // a phrase that begins on a mora the reader does not say begins on the reader's next one.
    std::size_t i = n, j = m;
    // Ties go to a mora kept, then to one the reader does not say, then to one changed.
    while (i > 0 && j > 0) {
      const std::uint32_t here = at(i, j);
      const bool kept = same(i - 1, j - 1) && here == at(i - 1, j - 1);
      if (!kept && here == at(i, j - 1) + 1) {
        if (marks[j - 1].phraseStart && i < n) startOf[i] = 1;
        if (marks[j - 1].nucleus) nucleusOf[i - 1] = 1;
        --j;
      } else if (kept || here == at(i - 1, j - 1) + 1) {
        nucleusOf[i - 1] = nucleusOf[i - 1] || marks[j - 1].nucleus;
        startOf[i - 1] = startOf[i - 1] || marks[j - 1].phraseStart;
        linedUp[i - 1] = 1;
        --i, --j;
      } else {
        --i;
      }
    }
    // Kana the dictionary has none for (the reader's ディーブイディー for DVD) start the phrase
    // that follows them, so that a particle after them is not a phrase of its own.
    for (std::size_t k = 1; k < n; ++k) {
      if (!startOf[k] || linedUp[k - 1]) continue;
      std::size_t first = k;
      while (first > 0 && !linedUp[first - 1]) --first;
      startOf[first] = 1, startOf[k] = 0;
    }
  }
  std::string out;
  bool inPhrase = false, nucleusPlaced = false;
  std::size_t mora = 0;
  for (const Piece& piece : pieces) {
    if (!piece.mora) {
      out += piece.text;
      inPhrase = false;
      continue;
    }
    if (startOf[mora] || !inPhrase) {
      if (inPhrase) out += '/';
      inPhrase = true;
      nucleusPlaced = false;
    }
    out += piece.text;
    if (nucleusOf[mora] && !nucleusPlaced) {
      out += '\'';
      nucleusPlaced = true;
    }
    ++mora;
  }
  return out;
}

void markSegments(std::vector<ReadingSegment>& segments, std::string_view accented) {
  std::string joined;
  for (const ReadingSegment& s : segments) {
    if (!s.latin) joined += s.text + '\n';
  }
  const std::string marked = markAccent(joined, accented);
  std::size_t from = 0;
  for (ReadingSegment& s : segments) {
    if (s.latin) continue;
    const std::size_t end = marked.find('\n', from);
    if (end == std::string::npos) return;
    s.text = marked.substr(from, end - from);
    from = end + 1;
  }
}

}  // namespace orvane
