# Sourced by the window tests and benchmarks: starts an X server of their own on a free display
# number (Xvfb picks it and writes it back). Needs $work (a scratch folder, removed by the
# caller); exports DISPLAY and sets xvfb_pid. The server does not reset when its last client
# goes, so that programs started one after another each find it there.
start_xvfb() {
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    if [[ -s $work/display ]]; then
      export DISPLAY=:$(cat "$work/display")
      return 0
    fi
    sleep 0.05
  done
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  return 1
}
