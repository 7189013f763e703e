#!/usr/bin/env bash
# The real window beside a running screen reader (ScreenReaderEnabled set on a private
# accessibility bus, settings.ini's screen_reader at its default, auto): the focused buttons'
# names are left to the screen reader, and the prompt is still spoken by the program.
# usage: screen_reader.sh ORVANE DATA_DIR
set -euo pipefail
if [[ -z ${ORVANE_IN_DBUS:-} ]]; then
  ORVANE_IN_DBUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
orvane=$(realpath "$1") data=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid= app_pid= pulse_pid= bus_pid=
cleanup() {
  for pid in $app_pid $bus_pid $xvfb_pid $pulse_pid; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/../support/xvfb.sh"
source "$here/../support/null-audio.sh"
start_xvfb
start_null_audio
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$work/bus.log" 2>&1 &
bus_pid=$!
for _ in $(seq 100); do
  gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled '<true>' \
    > /dev/null 2>&1 && break
  sleep 0.05
done
mkdir -p "$work/run"
cp "$data/basic.dat" "$work/run/toi.dat"
cp "$data/speech.ini" "$work/run/speech.ini"
transcript=$work/run/window.txt
(cd "$work/run" && ORVANE_TRANSCRIPT="$transcript" QT_QPA_PLATFORM=xcb exec "$orvane" \
  > orvane.log 2>&1) &
app_pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Orvane$' > /dev/null || { cat "$work/run/orvane.log"; echo "FAIL: no window"; exit 1; }
for key in Tab Tab Tab; do
  xdotool key "$key"
  sleep 0.3
done
sleep 0.5
fail() { echo "FAIL: $*"; cat "$transcript"; exit 1; }
grep -q '^say mode=1 .*"私は学生です。"' "$transcript" || fail "the prompt was not spoken"
[[ $(grep -c '^focus ' "$transcript") -ge 2 ]] || fail "the focus did not move"
if grep -q '^say mode=2' "$transcript"; then fail "a focused button's name was spoken too"; fi
echo "passed: the prompt spoken, $(grep -c '^focus ' "$transcript") focus moves left to the screen reader"
