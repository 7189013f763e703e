#!/usr/bin/env bash
# The real window through a long drill, for the sound: under Xvfb with a private PulseAudio null
# sink, xdotool answers QUESTIONS one-word questions with Tab and Enter alone (keys DELAY ms
# apart, faster than the voice, so captions are cut and texts queue), then ends the drill. The
# program's sound report counts the times the sound broke up inside an utterance.
# usage: bench/window_soak.sh [BUILD_DIR] [QUESTIONS] [DELAY]   (500 questions, 120 ms)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
questions=${2:-500}
delay=${3:-120}
work=$(mktemp -d)
xvfb_pid= pulse_pid= app_pid= silence_pid=
trap 'kill $app_pid $silence_pid $xvfb_pid $pulse_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/support/xvfb.sh"
start_xvfb
source "$here/../tests/support/null-audio.sh"
start_null_audio
keep_sink_rendering
printf '0\r\n1\r\n2\r\n' > "$work/speech.ini"
# Question n: a prompt with its number, one word and a period.
awk -v n="$questions" 'BEGIN {
  for (q = 1; q <= n; q++) printf "%d\r\n問題の%d番です。\r\nword%d\r\n\r\n\r\n\r\n\r\n\r\n\r\n.\r\n", q, q, q
  printf "*\r\n" }' > "$work/toi.dat"
(cd "$work" && ORVANE_SOUND_REPORT="$work/sound.txt" QT_QPA_PLATFORM=xcb \
  exec "$build/bin/orvane" > "$work/orvane.log" 2>&1) &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Orvane$' | head -n 1)
xdotool windowfocus --sync "$window" 2> /dev/null || true
sleep 3
start=$(date +%s)
# Each question: Start, the word, ".", Speak, Next; then End.
for ((q = 1; q <= questions; q++)); do
  xdotool key --delay "$delay" Tab Return Tab Return Tab Return Tab Return Tab Return
done
xdotool key --delay "$delay" Tab Return
for _ in $(seq 200); do kill -0 "$app_pid" 2> /dev/null || break; sleep 0.05; done
if kill -0 "$app_pid" 2> /dev/null; then
  echo "the window did not end at End (the drill lost step)"; exit 1
fi
wait "$app_pid" || true
app_pid=
echo "window soak: $questions questions in $(($(date +%s) - start)) s, keys $delay ms apart:" \
  "$(cat "$work/sound.txt" 2> /dev/null || echo 'no sound report')"
