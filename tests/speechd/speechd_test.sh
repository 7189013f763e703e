#!/usr/bin/env bash
# The voices of a running speech-dispatcher as voice modes: a private PulseAudio null sink and a
# private server (eSpeak NG module); the engine's tests listen to the sink's monitor. Also: the
# built-in modes keep their numbers when a server's are listed, and without a server the list
# is the built-in one alone.
# usage: speechd_test.sh ORVANE_SPEECHD_TESTS ORVANE_SAY
set -euo pipefail
tests=$(realpath "$1") say=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pulse_pid= silence_pid= SPEECH_SERVER_KILL=true
trap 'sh -c "$SPEECH_SERVER_KILL" 2>/dev/null; kill $silence_pid $pulse_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../support/null-audio.sh"
start_null_audio
keep_sink_rendering
without=$(SPEECHD_ADDRESS=unix_socket:$work/none.sock "$say" --list)
# Installed but not running: listing the voices starts the server the way its own clients do
# (libspeechd's autospawn, at the user's default socket), unless the user's configuration says
# DisableAutoSpawn.
mkdir -p "$work/spawn/run" "$work/spawn/config"
cp -r /etc/speech-dispatcher "$work/spawn/config/"
printf 'AudioOutputMethod "pulse"\nDefaultModule espeak-ng\n' \
  >> "$work/spawn/config/speech-dispatcher/speechd.conf"
spawned() {
  (unset SPEECHD_ADDRESS; XDG_RUNTIME_DIR=$work/spawn/run XDG_CONFIG_HOME=$work/spawn/config \
    "$say" --list) | grep -c 'speech-dispatcher [0-9]*$' || true
}
stop_spawned() { pkill -f "speech-dispatcher --spawn .*$work/spawn/run" 2> /dev/null || true; }
trap 'stop_spawned; sh -c "$SPEECH_SERVER_KILL" 2>/dev/null; kill $silence_pid $pulse_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cp "$work/spawn/config/speech-dispatcher/speechd.conf" "$work/spawn/speechd.conf"
echo DisableAutoSpawn >> "$work/spawn/config/speech-dispatcher/speechd.conf"
if [[ $(spawned) != 0 ]]; then
  echo "FAIL: a server was started although the configuration says DisableAutoSpawn"
  exit 1
fi
cp "$work/spawn/speechd.conf" "$work/spawn/config/speech-dispatcher/speechd.conf"
count=$(spawned)
stop_spawned
if ((count == 0)); then
  echo "FAIL: with speech-dispatcher installed but not running, its voices are not listed"
  exit 1
fi
echo "a server started for the listing: $count voices"
source "$here/../support/speech-server.sh"
start_speech_server
with=$("$say" --list)
builtin=$(wc -l <<< "$without")
if [[ $(head -n "$builtin" <<< "$with") != "$without" ]]; then
  echo "FAIL: the built-in voice modes changed when the server's were listed"
  exit 1
fi
server=$(tail -n +$((builtin + 1)) <<< "$with")
if grep -q speech-dispatcher <<< "$without" ||
  ! grep -q '^[0-9]*) English (America) – espeak-ng, speech-dispatcher 1033$' <<< "$server"; then
  echo "FAIL: the server's voices are not listed after the built-in ones"
  exit 1
fi
echo "the server adds $(($(wc -l <<< "$with") - builtin)) voice modes after $builtin built-in ones"
"$tests"
