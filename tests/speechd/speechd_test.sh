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
