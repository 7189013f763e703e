#!/usr/bin/env bash
# The accent is heard: words alike in kana but not in accent (箸 ハ'シ and 橋 ハシ', 雨 ア'メ and
# 飴 アメ, 二時 ニ'ジ and 虹 ニジ) are spoken by the Japanese voice to WAV files, and Praat's pitch
# tracker measures the two halves of each: a word that falls after its first mora must be at least
# 1.5 semitones lower in its second half, one that rises that much higher. Without the accent the
# voice lays one and the same contour over both words of each pair.
set -euo pipefail
say=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
while read -r word rise; do
  "$say" --mode 1 --wav "$work/word.wav" "$word"
  read -r first second < <(praat --run "$here/pitch_halves.praat" "$work/word.wav")
  step=$(awk -v a="$first" -v b="$second" 'BEGIN { printf "%.2f", b - a }')
  if awk -v s="$step" -v r="$rise" 'BEGIN { exit !(r == "up" ? s >= 1.5 : s <= -1.5) }'; then
    echo "ok: $word ($("$say" --accent "$word")) $step semitones, $rise"
  else
    echo "FAIL: $word ($("$say" --accent "$word")) $step semitones, expected $rise"
    failures=$((failures + 1))
  fi
done <<'WORDS'
箸。 down
橋。 up
雨。 down
飴。 up
二時。 down
虹。 up
WORDS
exit $((failures > 0))
