# Sourced by the tests that listen to the real window: a scratch folder ($work), an X server of
# their own, a private PulseAudio server whose null sink is kept rendering in small steps, and a
# trap that on exit ends them and every process the caller adds to pids, then removes $work.
support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$support/xvfb.sh"
start_xvfb
pids+=("$xvfb_pid")
source "$support/null-audio.sh"
source "$support/sanitizer.sh"
start_null_audio
pids+=("$pulse_pid")
keep_sink_rendering  # so what the window says is on the monitor at once
pids+=("$silence_pid")
