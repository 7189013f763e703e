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
