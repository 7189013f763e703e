#!/usr/bin/env bash
# Key press to sound in the real window, for each English voice in one run: under Xvfb with a
# private PulseAudio null sink, the window is started once per voice (speech.ini naming it as
# the English voice) and orvane-key-bench presses Tab through XTest, listening to the sink's
# monitor; key and sound are timed on the monitor's own sample clock. Only Tab is pressed, so
# every key is a focus caption and none waits behind a sentence.
# usage: bench/key_to_sound.sh [BUILD_DIR] [KEYS] [MODE...]
#   (a build with -DORVANE_BENCH=ON; KEYS single presses per voice, 16 unless given; the voice
#   modes 2 (Flite rms), 6 (eSpeak NG) and, when speech-dispatcher is installed, its eSpeak NG
#   English (America) through a private server, unless given). The window is started
#   KEY_BENCH_STARTS times per voice (5 unless set) for the first Tab after start.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
keys=${2:-16}
starts=${KEY_BENCH_STARTS:-5}
shift $(($# > 2 ? 2 : $#))
modes=("$@")
work=$(mktemp -d)
xvfb_pid= pulse_pid= app_pid= silence_pid=
SPEECH_SERVER_KILL=true
trap 'sh -c "$SPEECH_SERVER_KILL" 2>/dev/null; kill $app_pid $silence_pid $xvfb_pid $pulse_pid 2>/dev/null
  wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/support/xvfb.sh"
start_xvfb
source "$here/../tests/support/null-audio.sh"
start_null_audio
keep_sink_rendering
if ((${#modes[@]} == 0)); then
  modes=(2 6)
  if command -v speech-dispatcher > /dev/null; then
    source "$here/../tests/support/speech-server.sh"
    start_speech_server
    modes+=("$("$build/bin/orvane-say" --list |
      sed -n 's/^\([0-9]*\)) English (America) – espeak-ng, speech-dispatcher .*/\1/p' | head -n 1)")
  fi
fi
cp "$here/../tests/scenarios/data/smoke.dat" "$work/toi.dat"

# The window started with speech.ini naming the voice; waits until it shows.
start_window() {
  (cd "$work" && QT_QPA_PLATFORM=xcb exec "$build/bin/orvane" > /dev/null 2>&1) &
  app_pid=$!
  window=$(xdotool search --sync --onlyvisible --name '^Orvane$' | head -n 1)
  xdotool windowfocus --sync "$window" 2> /dev/null || true
}
stop_window() {
  kill "$app_pid" 2> /dev/null
  wait "$app_pid" 2> /dev/null || true
  app_pid=
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }

declare -a rows
for mode in "${modes[@]}"; do
  printf '0\r\n1\r\n%s\r\n' "$mode" > "$work/speech.ini"
  title=$("$build/bin/orvane-say" --list | sed -n "s/^$mode) \(.*\) [0-9]*$/\1/p")
  echo "== mode $mode: $title"
  start_window
  "$build/bin/orvane-key-bench" orvane_null.monitor "$keys" 8 | tee "$work/out.txt"
  stop_window
  read -r _ median _ count < <(grep '^median ' "$work/out.txt")
  read -r _ fresh < <(grep '^new ' "$work/out.txt")
  read -r _ burst < <(grep '^burst ' "$work/out.txt" || echo "burst -")
  # The first Tab after start is one key per start: the median over several starts.
  firsts=("$(sed -n 's/^first //p' "$work/out.txt")")
  for _ in $(seq 2 "$starts"); do
    start_window
    firsts+=("$("$build/bin/orvane-key-bench" orvane_null.monitor 0 0 | sed -n 's/^first //p')")
    stop_window
  done
  echo "first Tab after each start: ${firsts[*]}"
  rows+=("$(printf '%-5s %-50s %8s %8s %8s %8s %5s' "$mode" "$title" "$median" "$fresh" \
    "$(median "${firsts[@]}")" "$burst" "$count")")
done
echo
echo "key press to sound, ms: the median of single Tabs; of the first five of them, captions not"
echo "heard before; the first Tab after start (the median over $starts starts); the last of a burst"
echo "of 8 Tabs 40 ms apart:"
printf '%-5s %-50s %8s %8s %8s %8s %5s\n' mode voice median new first burst keys
printf '%s\n' "${rows[@]}"
