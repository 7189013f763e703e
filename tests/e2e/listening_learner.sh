#!/usr/bin/env bash
# A one-switch learner who only listens does a whole question file with Enter alone: settings.ini
# has the scan on from start, waiting for speech, and right or wrong said aloud; the real window
# under Xvfb speaks through a private PulseAudio server, and the listening learner
# (listening_learner.cpp) hears the null sink's monitor and presses the keys. The test passes when
# the learner got every answer right, every verdict and the final score were said, and the window
# ended with status 0.
# Afterwards, and only for the report, the window's transcript tells what was really said, so
# the recognition of the captions can be counted.
# Artefacts: the recording, the learner's log, the screen before End, the transcript.
# usage: listening_learner.sh ORVANE LEARNER EXAMPLES_DIR ARTEFACT_DIR
set -euo pipefail
orvane=$(realpath "$1") learner=$(realpath "$2") examples=$(realpath "$3") out=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
out=$(realpath "$out")
rm -f "$out"/{learner.log,heard.tsv,recording.wav,end.png,window.txt,stderr.log}
source "$here/../support/audio-stage.sh"

mkdir "$work/run"
cp "$examples/toi.dat" "$examples/speech.ini" "$work/run/"
printf 'auto_scan=1\nscan_waits_for_speech=1\nspeak_verdict=1\n' > "$work/run/settings.ini"
status=0
(cd "$work/run" && ORVANE_TRANSCRIPT="$out/window.txt" QT_QPA_PLATFORM=xcb \
  "$learner" --lesson toi.dat --monitor orvane_null.monitor --out "$out" --scan on \
  -- "$orvane" 2> >(tee "$out/stderr.log" >&2)) || status=$?
[[ -s $out/end.ppm ]] && convert "$out/end.ppm" "$out/end.png" && rm "$out/end.ppm"

# The report: each English utterance the window spoke beside what the learner heard, in order.
report() {
  local spoken heard
  spoken=$(sed -n 's/^say mode=2 speed=[0-9]* "\(.*\)"$/\1/p' "$out/window.txt" |
    sed 's/^\.$/period/; s/^?$/question mark/; s/^!$/exclamation mark/' |
    tr 'A-Z' 'a-z' | tr -d '.,?!')
  heard=$(awk -F'\t' '$3 != "prompt" { print $3 "\t" $4 }' "$out/heard.tsv")
  paste <(printf '%s\n' "$spoken") <(printf '%s\n' "$heard") | awk -F'\t' '
    $2 == "caption" { all++; if ($1 == $3) right++; else wrong = wrong sprintf("\n  \"%s\" heard as \"%s\"", $1, $3) }
    END { printf "captions heard as the right word: %d/%d%s\n", right, all, wrong }'
  if (( $(wc -l <<< "$spoken") != $(wc -l <<< "$heard") )); then
    echo "(the window spoke $(wc -l <<< "$spoken") English utterances, the learner heard" \
      "$(wc -l <<< "$heard"); the pairs above may be shifted)"
  fi
}
[[ -s $out/window.txt && -s $out/heard.tsv ]] && report
# Every check answered aloud, and the score at the end.
questions=$(iconv -f CP932 -t UTF-8 "$work/run/toi.dat" | tr -d '\r' |
  awk 'NR % 10 == 1 && /^[0-9]/' | wc -l)
verdicts=$(grep -c '^say mode=1 .*"正解です。"' "$out/window.txt" || true)
if ((status == 0)) && ((verdicts < questions)); then
  echo "FAIL: $verdicts verdicts said for $questions questions"
  status=1
fi
if ((status == 0)) && ! grep -Eq '^say mode=1 speed=[0-9]+ "[0-9]+/[0-9]+ [0-9]+%"$' \
  "$out/window.txt"; then
  echo "FAIL: the final score was not said"
  status=1
fi
echo "verdicts said: $verdicts"
exit $status
