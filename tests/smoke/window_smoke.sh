#!/usr/bin/env bash
# Starts the real window under Xvfb on a folder with a toi.dat, drives two questions with
# xdotool key strokes (keys.sim) and then with mouse clicks (clicks.sim), takes screenshots,
# and checks that the window's transcript matches the headless runner's for the same input.
# usage: window_smoke.sh ORVANE ORVANE_SIM DATA_DIR ARTEFACT_DIR
set -euo pipefail
orvane=$1 sim=$2 data=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=
app_pid=
pulse_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  [[ -n $pulse_pid ]] && kill "$pulse_pid" 2>/dev/null || true
  wait 2>/dev/null || true  # a server still ending writes into $work
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
source "$here/../support/xvfb.sh"
start_xvfb
# A sound device for the voice (a null sink), so start-up has no speech error to report.
source "$here/../support/null-audio.sh"
source "$here/../support/sanitizer.sh"
start_null_audio

prepare() {  # a fresh program folder
  rm -rf "$work/run" && mkdir "$work/run"
  cp "$data/smoke.dat" "$work/run/toi.dat"
  cp "$data/speech.ini" "$work/run/speech.ini"
}

# Starts the window; waits until its first focus line shows it has been shown and activated.
launch() {
  (cd "$work/run" && ORVANE_TRANSCRIPT="$work/run/window.txt" QT_QPA_PLATFORM=xcb \
    exec "$orvane" > "$work/run/orvane.log" 2>&1) &
  app_pid=$!
  for _ in $(seq 200); do
    grep -q '^focus ' "$work/run/window.txt" 2>/dev/null && break
    sleep 0.05
  done
  window=$(xdotool search --sync --onlyvisible --name '^Orvane$' | head -n 1)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# Waits for the window to end, then compares its transcript with orvane-sim's.
finish_and_compare() {
  local name=$1 script=$2
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$app_pid" 2>/dev/null; then
    echo "FAIL $name: the window did not end at End"
    return 1
  fi
  local status=0
  wait "$app_pid" || status=$?
  app_pid=
  if (( status != 0 )); then  # in the sanitizer build, also a memory error or a leak
    echo "FAIL $name: the window ended with status $status"
    cat "$work/run/orvane.log"
    return 1
  fi
  cp "$work/run/window.txt" "$out/$name-window.txt"
  prepare
  (cd "$work/run" && "$sim" "$script") > "$out/$name-sim.txt"
  if ! diff -u "$out/$name-sim.txt" "$out/$name-window.txt"; then
    echo "FAIL $name: the window's transcript differs from orvane-sim's"
    return 1
  fi
}

shot() {
  import -window root "$out/$1.png"
  # The window's yellow ground must be on screen.
  local colour
  colour=$(convert "$out/$1.png" -format '%[hex:p{512,560}]' info:)
  [[ $colour == FFFF00* ]] || { echo "FAIL $1: no yellow window at the centre ($colour)"; return 1; }
}

# 1. The keyboard alone.
prepare
launch
shot start
sed -n 's/^key //p' "$here/keys.sim" | while read -r key; do
  case $key in Enter) key=Return ;; esac
  xdotool key "$key"
  sleep 0.15
  if [[ $key == Return ]] && grep -q '^say mode=2 speed=175 " Good morning."' "$work/run/window.txt" &&
     [[ ! -e $work/shot-done ]]; then
    touch "$work/shot-done"
    shot checked
  fi
done
finish_and_compare keys "$here/keys.sim"
echo "keys: the window matched orvane-sim ($(wc -l < "$out/keys-window.txt") lines)"

# 2. The mouse alone: each click at the centre of its button.
declare -A centre=(
  [Start]="688 412" [Button2]="64 284" [Button3]="168 284" [Button10]="76 404"
  [Button12]="220 404" [Next]="480 412" [End_bt]="372 412"
)
prepare
launch
read -r wx wy ww wh < <(xdotool getwindowgeometry --shell "$window" |
  awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}')
top=$((wy + wh - 494))  # the client area sits below the menu bar
sed -n 's/^click //p' "$here/clicks.sim" | while read -r name; do
  read -r cx cy <<< "${centre[$name]}"
  xdotool mousemove --sync $((wx + cx)) $((top + cy)) click 1
  sleep 0.15
done
finish_and_compare clicks "$here/clicks.sim"
echo "clicks: the window matched orvane-sim ($(wc -l < "$out/clicks-window.txt") lines)"
echo "1 passed, 0 failed"
