#!/usr/bin/env bash
# Start-up of the real window to its first paint, as the X server sees it (the first damage to
# the window), and its peak memory, beside a bare Qt window of the same size started the same
# way; over several runs under Xvfb with a null sound sink.
# usage: bench/window_startup.sh [BUILD_DIR] [RUNS]   (a build with -DORVANE_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-9}
work=$(mktemp -d)
xvfb_pid= pulse_pid=
trap 'kill $xvfb_pid $pulse_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/support/xvfb.sh"
start_xvfb
source "$here/../tests/support/null-audio.sh"
start_null_audio
cp "$here/../examples/toi.dat" "$here/../examples/speech.ini" "$work/"
cd "$work"
declare -a orvane_ms orvane_kb orvane_cpu bare_ms bare_kb bare_cpu
for _ in $(seq "$runs"); do
  read -r ms _ kb _ _ _ _ _ cpu _ < <(QT_QPA_PLATFORM=xcb "$build/bin/orvane-first-paint" Orvane \
    "$build/bin/orvane" 2> /dev/null)
  orvane_ms+=("$ms") orvane_kb+=("$kb") orvane_cpu+=("$cpu")
  read -r ms _ kb _ _ _ _ _ cpu _ < <(QT_QPA_PLATFORM=xcb "$build/bin/orvane-first-paint" Bare \
    "$build/bin/orvane-bare-window" 2> /dev/null)
  bare_ms+=("$ms") bare_kb+=("$kb") bare_cpu+=("$cpu")
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
echo "start to first paint (median of $runs): orvane $(median "${orvane_ms[@]}") ms," \
  "bare Qt window $(median "${bare_ms[@]}") ms"
echo "main thread's processor time to first paint (median of $runs): orvane" \
  "$(median "${orvane_cpu[@]}") ms, bare Qt window $(median "${bare_cpu[@]}") ms"
echo "peak resident memory (median of $runs): orvane $(median "${orvane_kb[@]}") kB," \
  "bare Qt window $(median "${bare_kb[@]}") kB"
