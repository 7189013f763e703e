#!/usr/bin/env bash
# The real window on an accessibility bus of its own: check_tree.py reads it as assistive
# technology would. Runs inside a private D-Bus session.
# usage: atspi.sh ORVANE DATA_DIR ARTEFACT_DIR
set -euo pipefail
if [[ -z ${ORVANE_IN_DBUS:-} ]]; then
  ORVANE_IN_DBUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
orvane=$1 data=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid= app_pid= pulse_pid= bus_pid=
cleanup() {
  for pid in $app_pid $bus_pid $xvfb_pid $pulse_pid; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true  # a server still ending writes into $work
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/../support/xvfb.sh"
source "$here/../support/null-audio.sh"
start_xvfb
start_null_audio
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$work/bus.log" 2>&1 &
bus_pid=$!
mkdir -p "$work/run"
cp "$data/basic.dat" "$work/run/toi.dat"
cp "$data/speech.ini" "$work/run/speech.ini"
(cd "$work/run" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb exec "$orvane" \
  > orvane.log 2>&1) &
app_pid=$!
xdotool search --sync --onlyvisible --name '^Orvane$' > /dev/null
sleep 0.5
/usr/bin/python3 "$here/check_tree.py" "$out"
