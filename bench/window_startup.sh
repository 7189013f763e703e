#!/usr/bin/env bash
# Start-up time of the real window (from exec until start-up has spoken the first prompt and the
# window has taken the focus) and its peak memory, over several runs under Xvfb with a null
# sound sink. usage: bench/window_startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-9}
work=$(mktemp -d)
pulse_pid=
trap 'kill $xvfb_pid ${pulse_pid:-} 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/support/xvfb.sh"
start_xvfb
source "$here/../tests/support/null-audio.sh"
start_null_audio
cp "$here/../examples/toi.dat" "$here/../examples/speech.ini" "$work/"
cd "$work"
times=() peaks=()
for _ in $(seq "$runs"); do
  rm -f window.txt
  start=$(date +%s%N)
  ORVANE_TRANSCRIPT=$work/window.txt "$build/bin/orvane" > /dev/null 2>&1 &
  pid=$!
  until grep -q '^focus ' window.txt 2>/dev/null; do sleep 0.002; done
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
  sleep 0.5
  peaks+=($(awk '/VmHWM/ {print $2}' /proc/$pid/status))
  kill $pid; wait $pid 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
echo "window start-up to first prompt and focus (median of $runs): $(median "${times[@]}") ms"
echo "peak resident memory (median of $runs): $(median "${peaks[@]}") kB"
