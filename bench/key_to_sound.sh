#!/usr/bin/env bash
# Key press to sound in the real window: under Xvfb with a private PulseAudio null sink,
# orvane-key-bench injects the smoke test's keys through XTest and listens to the sink's
# monitor; key and sound are timed on the monitor's own sample clock.
# usage: bench/key_to_sound.sh [BUILD_DIR]   (a build with -DORVANE_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
work=$(mktemp -d)
xvfb_pid= pulse_pid= app_pid= silence_pid=
trap 'kill $app_pid $silence_pid $xvfb_pid $pulse_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/support/xvfb.sh"
start_xvfb
source "$here/../tests/support/null-audio.sh"
start_null_audio
keep_sink_rendering
cp "$here/../tests/scenarios/data/smoke.dat" "$work/toi.dat"
cp "$here/../examples/speech.ini" "$work/"
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$build/bin/orvane" > /dev/null 2>&1) &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Orvane$' | head -n 1)
xdotool windowfocus --sync "$window" 2> /dev/null || true
mapfile -t keys < <(sed -n 's/^key //p' "$here/../tests/smoke/keys.sim" | sed 's/^Enter$/Return/')
# The last key (End) ends the program: leave it out.
"$build/bin/orvane-key-bench" orvane_null.monitor "${keys[@]:0:${#keys[@]}-1}"
