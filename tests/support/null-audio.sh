# Sourced by the window tests: starts a private PulseAudio server whose default sink is a null
# sink, so the program has a sound device and its sound can be recorded from the sink's monitor.
# Needs $work (a scratch folder, removed by the caller); sets PULSE_SERVER and pulse_pid.
start_null_audio() {
  local dir=$work/pulse
  mkdir -p "$dir"
  cat > "$dir/default.pa" <<PA
load-module module-null-sink sink_name=orvane_null rate=22050 channels=1
set-default-sink orvane_null
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
PA
  HOME=$dir XDG_RUNTIME_DIR=$dir pulseaudio -n -F "$dir/default.pa" --daemonize=no \
    --exit-idle-time=-1 --disable-shm=true --log-target=file:"$dir/log.txt" &
  pulse_pid=$!
  export PULSE_SERVER=unix:$dir/native
  for _ in $(seq 100); do
    pactl info > /dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "PulseAudio did not start:" >&2
  cat "$dir/log.txt" >&2
  return 1
}

# A null sink renders only while something plays into it, and in blocks as long as the latency
# its clients ask for (two seconds when none asks). A low-latency stream of silence keeps it
# rendering in small steps on the wall clock, so what is played is heard on the monitor at once;
# this returns once the first long block has passed. Sets silence_pid.
keep_sink_rendering() {
  pacat --playback -d orvane_null --raw --format=s16le --rate=22050 --channels=1 \
    --latency-msec=20 /dev/zero 2> "$work/pulse/silence.log" &
  silence_pid=$!
  sleep 2.5
}
