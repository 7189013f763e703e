#!/usr/bin/env bash
# Launch to the first Japanese prompt heard, beside eSpeak NG's own command: under Xvfb with a
# private PulseAudio null sink, orvane-launch-bench starts the window on a lesson (its first
# prompt spoken at start) and then `espeak-ng -v ja` with the same prompt, RUNS times each, and
# times each from its launch to its first sound on the sink's own clock.
# usage: bench/first_prompt.sh [BUILD_DIR] [RUNS]   (a build with -DORVANE_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-5}
work=$(mktemp -d)
xvfb_pid= pulse_pid= silence_pid=
trap 'kill $silence_pid $xvfb_pid $pulse_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/support/xvfb.sh"
start_xvfb
source "$here/../tests/support/null-audio.sh"
start_null_audio
keep_sink_rendering
cp "$here/../tests/scenarios/data/basic.dat" "$work/toi.dat"
printf '0\r\n1\r\n2\r\n' > "$work/speech.ini"
prompt=$(iconv -f CP932 -t UTF-8 "$work/toi.dat" 2> /dev/null | sed -n 2p | tr -d '\r')
cd "$work"
echo "== orvane: launch to the first prompt ($prompt)"
QT_QPA_PLATFORM=xcb "$build/bin/orvane-launch-bench" orvane_null.monitor "$runs" \
  "$build/bin/orvane" | tee orvane.txt
echo "== espeak-ng -v ja, the same prompt"
"$build/bin/orvane-launch-bench" orvane_null.monitor "$runs" espeak-ng -v ja "$prompt" |
  tee espeak.txt
printf '\nlaunch to first sound, median ms: orvane %s, espeak-ng -v ja %s\n' \
  "$(sed -n 's/^median //p' orvane.txt)" "$(sed -n 's/^median //p' espeak.txt)"
