#!/usr/bin/env bash
# The menu's launcher, failing, says why in a box on the screen (a user who started the drill
# from the menu sees no terminal), and makes nothing. A screenshot of the box is kept.
# usage: launcher_error.sh BIN_DIR ARTEFACT_DIR
set -euo pipefail
bin=$1 out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid= app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true  # a server still ending writes into $work
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/../support/xvfb.sh"
source "$here/../support/sanitizer.sh"
start_xvfb

(cd "$work" && HOME=relative QT_QPA_PLATFORM=xcb exec "$bin/orvane-launch" > launch.log 2>&1) &
app_pid=$!
box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --name '^Orvane$' 2>/dev/null | head -n 1) || true
  [[ -n $box ]] && break
  sleep 0.1
done
[[ -n $box ]] || { echo "FAIL: no box on the screen"; cat "$work/launch.log"; exit 1; }
import -window root "$out/launcher-error.png" 2>/dev/null || true
# With no window manager the box may not take the keys: it is closed by ending its program,
# after which the launcher ends on its own.
pkill -f -- "$bin/orvane --show-error" || true
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$app_pid" || status=$?
app_pid=
grep -q "絶対パスではありません" "$work/launch.log" ||
  { echo "FAIL: the reason is not on standard error"; exit 1; }
[[ $status -eq 1 ]] || { echo "FAIL: the launcher ended with status $status"; exit 1; }
[[ ! -e "$work/relative" && ! -e /Orvane ]] || { echo "FAIL: a folder was made"; exit 1; }
echo "3 passed, 0 failed"
