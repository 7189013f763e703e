#!/usr/bin/env bash
# The real window with a sound server that has stopped answering (SIGSTOP): the window must
# still come up, report the missing voice ("SAPI Error1"), run the drill silently, and end at
# once from File > Exit and from End.
# usage: stalled_audio.sh ORVANE DATA_DIR ARTEFACT_DIR
set -euo pipefail
orvane=$1 data=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid= app_pid= pulse_pid=
cleanup() {
  [[ -n $app_pid ]] && kill -9 "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  if [[ -n $pulse_pid ]]; then kill -CONT "$pulse_pid"; kill "$pulse_pid"; fi 2>/dev/null || true
  wait 2>/dev/null || true  # a server still ending writes into $work
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/../support/xvfb.sh"
source "$here/../support/null-audio.sh"
source "$here/../support/sanitizer.sh"
start_xvfb
start_null_audio
kill -STOP "$pulse_pid"

fail() { echo "FAIL $*"; cat "$work/run/orvane.log" 2>/dev/null; exit 1; }
now_ms() { date +%s%3N; }

# Starts the window; answers the start-up box with Enter and waits for the window's first focus.
launch() {
  rm -rf "$work/run" && mkdir "$work/run"
  cp "$data/smoke.dat" "$work/run/toi.dat"
  cp "$data/speech.ini" "$work/run/speech.ini"
  local started
  started=$(now_ms)
  (cd "$work/run" && ORVANE_TRANSCRIPT="$work/run/window.txt" QT_QPA_PLATFORM=xcb \
    exec "$orvane" > "$work/run/orvane.log" 2>&1) &
  app_pid=$!
  for _ in $(seq 100); do
    grep -q '^message "SAPI Error1"' "$work/run/window.txt" 2>/dev/null && break
    sleep 0.05
  done
  grep -q '^message "SAPI Error1"' "$work/run/window.txt" ||
    fail "$1: no \"SAPI Error1\" box within 5 s of the start"
  echo "$1: the start-up box came up after $(($(now_ms) - started)) ms"
  import -window root "$out/$1-box.png"
  for _ in $(seq 100); do
    xdotool key Return
    grep -q '^focus ' "$work/run/window.txt" && break
    sleep 0.1
  done
  grep -q '^focus ' "$work/run/window.txt" || fail "$1: the window did not come up"
}

# Sends the keys, then waits at most 2 s for the program to end with status 0.
end_with() {
  local name=$1 started status=0
  shift
  started=$(now_ms)
  xdotool key "$@"
  for _ in $(seq 40); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$app_pid" 2>/dev/null && fail "$name: the program was still running 2 s after the keys"
  wait "$app_pid" || status=$?
  app_pid=
  ((status == 0)) || fail "$name: the program ended with status $status"
  echo "$name: ended $(($(now_ms) - started)) ms after the keys"
}

# 1. File > Exit in the middle of a question.
launch exit
xdotool key Tab Tab Return
sleep 0.3
import -window root "$out/exit-drill.png"
grep -q '^say mode=2 speed=175 "Start"' "$work/run/window.txt" || fail "exit: the drill did not run"
end_with exit alt+f x

# 2. The End button, reached by the smoke test's keys with the drill silent all along.
launch end
mapfile -t keys < <(sed -n 's/^key //p' "$here/keys.sim" | sed 's/^Enter$/Return/')
for key in "${keys[@]:0:${#keys[@]}-1}"; do
  xdotool key "$key"
  sleep 0.15
done
grep -q '^focus End_bt' "$work/run/window.txt" || fail "end: the drill did not reach End"
end_with end "${keys[-1]}"
echo "1 passed, 0 failed"
