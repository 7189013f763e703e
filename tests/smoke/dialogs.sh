#!/usr/bin/env bash
# The real window's boxes and dialogs under Xvfb, with no window manager: the file dialog reads
# Japanese, the voice listing fits the screen, the voice dialog stands in the middle of the
# desktop, and after each the learner's keys reach the main window again. Screenshots are kept.
# usage: dialogs.sh ORVANE DATA_DIR ARTEFACT_DIR
set -euo pipefail
orvane=$1 data=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid= app_pid= pulse_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  [[ -n $pulse_pid ]] && kill "$pulse_pid" 2>/dev/null || true
  wait 2>/dev/null || true  # a server still ending writes into $work
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/../support/xvfb.sh"
source "$here/../support/null-audio.sh"
source "$here/../support/sanitizer.sh"
start_xvfb
start_null_audio
screen_w=1024 screen_h=768

fail() { echo "FAIL $*"; exit 1; }
log=$work/run/window.txt
mkdir -p "$work/run"
cp "$data/smoke.dat" "$work/run/toi.dat"
cp "$data/speech.ini" "$work/run/speech.ini"
(cd "$work/run" && ORVANE_TRANSCRIPT=$log QT_QPA_PLATFORM=xcb exec "$orvane" > orvane.log 2>&1) &
app_pid=$!
xdotool search --sync --onlyvisible --name '^Orvane$' > /dev/null

# Waits (5 s at most) for a visible window titled exactly $1; prints its id.
window_named() {
  for _ in $(seq 50); do
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
geometry() {  # x y width height of a window
  xdotool getwindowgeometry --shell "$1" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}
# After a box or dialog has closed, the learner's keys must reach the main window again:
# Ctrl+R replays the prompt.
keys_reach_the_window() {
  local before
  before=$(grep -c '^say ' "$log" || true)
  sleep 0.3
  xdotool key ctrl+r
  for _ in $(seq 30); do
    (($(grep -c '^say ' "$log") > before)) && return 0
    sleep 0.1
  done
  fail "$1: after it closed, the keys no longer reached the window"
}

# Opens a box or dialog with the menu keys, waits for its window, keeps a screenshot and leaves
# the window's geometry in x y w h. usage: open_window NAME TITLE KEYS...
open_window() {
  local name=$1 title=$2
  shift 2
  xdotool key "$@"
  id=$(window_named "$title") || fail "$name: no window titled $title"
  sleep 0.3
  read -r x y w h < <(geometry "$id")
  import -window root "$out/$name.png"
}
# Closes it with KEY; the keys must reach the main window again. usage: close_window NAME KEY
close_window() {
  xdotool key "$2"
  keys_reach_the_window "$1"
}

# 1. File > Open: Qt's own dialog, in Japanese (a missing translation leaves it titled Open).
open_window file-dialog '開く' alt+f o
close_window file-dialog Escape
echo "file dialog: titled 開く"

# 2. Help > the voice listing: every installed voice, in a box no taller than the screen.
open_window voice-listing 'Orvaneプログラム' alt+h n
((y >= 0 && y + h <= screen_h)) || fail "voice listing: the box (y=$y, height $h) leaves the screen"
close_window voice-listing Return
echo "voice listing: ${h} px tall on a ${screen_h} px screen"

# 3. The voice dialog, in the middle of the desktop.
open_window voice-dialog '音声設定' alt+o a
dx=$((x + w / 2 - screen_w / 2)) dy=$((y + h / 2 - screen_h / 2))
((dx * dx <= 4 && dy * dy <= 4)) || fail "voice dialog: centred at ($((x + w / 2)), $((y + h / 2)))"
close_window voice-dialog Escape
echo "voice dialog: centred on the desktop"

# 4. The help, a window of its own: closed with Esc, the keys are the window's again.
open_window help 'Orvane ヘルプ' alt+h c
close_window help Escape
echo "help: closed, and the keys are back"

xdotool key alt+f x
status=0
wait "$app_pid" || status=$?
app_pid=
((status == 0)) || { cat "$work/run/orvane.log"; fail "the window ended with status $status"; }
echo "1 passed, 0 failed"
