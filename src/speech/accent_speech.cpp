#include "speech/accent_speech.hpp"

#include <algorithm>
#include <cmath>

#include "core/text.hpp"
#include "reading/accent.hpp"

namespace orvane {

namespace {

// Each phrase after an accented one has its highs this much lower, down to kLowestHigh.
constexpr double kDownstep = 0.7;
constexpr int kLowestHigh = 12;
// The rise on the last mora of a question.
constexpr int kQuestionPercent = 50;

bool isSentenceEnd(std::string_view ch) {
  return ch == "。" || ch == "？" || ch == "！" || ch == "?" || ch == "!" || ch == ".";
}
bool isQuestionMark(std::string_view ch) {
  return ch == "？" || ch == "?";
}

void escapeInto(std::string_view s, std::string& out) {
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

struct Phrase {
  std::vector<std::string> morae;
  int nucleus = 0;         // 0: flat
  std::string after;       // punctuation and blanks that follow it
  std::vector<int> pitch;  // per mora: 0 low, else the percent it is raised by
};

std::vector<Phrase> parse(std::string_view marked) {
  std::vector<Phrase> phrases(1);
  const auto startPhrase = [&] {
    if (!phrases.back().morae.empty() || !phrases.back().after.empty()) phrases.emplace_back();
  };
  for (std::string_view ch : text::characters(marked)) {
    if (ch == "/") {
      startPhrase();
    } else if (ch == "'") {
      phrases.back().nucleus = static_cast<int>(phrases.back().morae.size());
    } else if (isKatakana(ch)) {
      if (!phrases.back().after.empty()) startPhrase();
      if (isSmallKana(ch) && !phrases.back().morae.empty()) {
        phrases.back().morae.back() += ch;
      } else {
        phrases.back().morae.emplace_back(ch);
      }
    } else {
      phrases.back().after += ch;
    }
  }
  return phrases;
}

// High and low per mora, then the voice's limits, then the register of each phrase.
void placePitch(std::vector<Phrase>& phrases) {
  double reg = 1.0;
  for (std::size_t p = 0; p < phrases.size(); ++p) {
    Phrase& ph = phrases[p];
    const int m = static_cast<int>(ph.morae.size()), n = ph.nucleus;
    std::vector<bool> high(static_cast<std::size_t>(m));
    for (int k = 0; k < m; ++k) {
      high[static_cast<std::size_t>(k)] = n == 1 ? k == 0 : (k > 0 && (n == 0 || k < n));
    }
    for (int k = 1; k < m; ++k) {
      const std::string& mora = ph.morae[static_cast<std::size_t>(k)];
      if (mora == "ー" || (mora == "ン" && k == m - 1)) high[k] = high[k - 1];
    }
    for (int k = m - 2; k >= 0; --k) {
      if (ph.morae[static_cast<std::size_t>(k)] == "ッ") high[k] = high[k + 1];
    }
    const int percent = std::max(kLowestHigh, static_cast<int>(std::lround(kHighPercent * reg)));
    ph.pitch.assign(static_cast<std::size_t>(m), 0);
    for (int k = 0; k < m; ++k) {
      if (high[static_cast<std::size_t>(k)]) ph.pitch[static_cast<std::size_t>(k)] = percent;
    }
    bool ends = false, question = false;
    for (std::string_view ch : text::characters(ph.after)) {
      ends = ends || isSentenceEnd(ch);
      question = question || isQuestionMark(ch);
    }
    // か。 at the end of a sentence asks too.
    question = question || (ends && m > 0 && ph.morae.back() == "カ");
    if (question && m > 0) ph.pitch.back() = kQuestionPercent;
    if (ends) {
      reg = 1.0;
    } else if (n > 0) {
      reg *= kDownstep;
    }
  }
}

void render(const Phrase& ph, std::string& ssml, std::string& kana) {
  std::size_t k = 0;
  while (k < ph.morae.size()) {
    std::size_t end = k;
    std::string run;
    while (end < ph.morae.size() && ph.pitch[end] == ph.pitch[k]) run += ph.morae[end++];
    if (ph.pitch[k] > 0) {
      ssml += "<prosody pitch=\"+" + std::to_string(ph.pitch[k]) + "%\">";
      escapeInto(run, ssml);
      ssml += "</prosody>";
    } else {
      escapeInto(run, ssml);
    }
    kana += run;
    k = end;
  }
  escapeInto(ph.after, ssml);
  kana += ph.after;
}

}  // namespace

std::vector<AccentPiece> accentPieces(std::string_view marked, std::size_t pieceBytes) {
  std::vector<Phrase> phrases = parse(marked);
  placePitch(phrases);
  std::vector<AccentPiece> out;
  std::string ssml, kana;
  const auto close = [&] {
    if (kana.empty()) return;
    out.push_back({"<speak>" + ssml + "</speak>", kana});
    ssml.clear(), kana.clear();
  };
  for (const Phrase& ph : phrases) {
    render(ph, ssml, kana);
    if (kana.size() >= pieceBytes) close();
  }
  close();
  return out;
}

}  // namespace orvane
