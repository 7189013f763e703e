# Sourced by the tests and benchmarks that speak through speech-dispatcher: starts a private
# server of its own (its own configuration, socket and logs under $work, its sound through the
# private PulseAudio server, eSpeak NG as its module) and points libspeechd at it. Needs $work
# and PULSE_SERVER; exports SPEECHD_ADDRESS and the commands that stop and start it again
# (SPEECH_SERVER_KILL, SPEECH_SERVER_START); sets speech_server_pid.
start_speech_server() {
  local dir=$work/speechd
  mkdir -p "$dir/run"
  cp -r /etc/speech-dispatcher "$dir/conf"
  printf 'AudioOutputMethod "pulse"\nDefaultModule espeak-ng\n' >> "$dir/conf/speechd.conf"
  export SPEECHD_ADDRESS=unix_socket:$dir/run/speechd.sock
  export SPEECH_SERVER_START="rm -f $dir/run/speechd.sock; XDG_RUNTIME_DIR=$dir/run \
speech-dispatcher -d -t 0 -C $dir/conf -S $dir/run/speechd.sock -P $dir/run/pid -L $dir/run \
> $dir/start.log 2>&1; for i in \$(seq 200); do [ -S $dir/run/speechd.sock ] && exit 0; sleep 0.05; \
done; exit 1"
  export SPEECH_SERVER_KILL="kill -9 \$(cat $dir/run/pid)"
  if ! sh -c "$SPEECH_SERVER_START"; then
    echo "speech-dispatcher did not start:" >&2
    cat "$dir/start.log" "$dir/run/"*.log >&2 2>/dev/null
    return 1
  fi
  speech_server_pid=$(cat "$dir/run/pid")
}
