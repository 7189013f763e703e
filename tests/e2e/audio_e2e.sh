#!/usr/bin/env bash
# End to end with real audio: the real window under Xvfb speaks through a private PulseAudio
# server into a null sink whose monitor is recorded, while xdotool drives two questions with Tab
# and Enter alone (tests/smoke/keys.sim), a pause after each key. From the recording it checks
# that every utterance the headless runner says the program makes was heard, one non-silent
# stretch each, in order: prompts long, captions short, and nothing heard where nothing is said.
# Keeps a screenshot and the recording (WAV) as artefacts.
# usage: audio_e2e.sh ORVANE ORVANE_SIM DATA_DIR ARTEFACT_DIR
set -euo pipefail
orvane=$1 sim=$2 data=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
keys_script=$here/../smoke/keys.sim
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
rate=22050

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
source "$here/../support/null-audio.sh"
start_null_audio
pids+=("$pulse_pid")

# A null sink only runs while something plays into it: a stream of silence keeps its monitor
# (and so the recording) on the wall clock.
pacat --playback -d orvane_null --raw --format=s16le --rate=$rate --channels=1 /dev/zero &
pids+=($!)
parec -d orvane_null.monitor --raw --format=s16le --rate=$rate --channels=1 > "$work/rec.raw" &
parec_pid=$!
recording_from=$(date +%s)
sleep 0.5


mkdir "$work/run"
cp "$data/smoke.dat" "$work/run/toi.dat"
cp "$data/speech.ini" "$work/run/speech.ini"
(cd "$work/run" && ORVANE_TRANSCRIPT="$work/run/window.txt" QT_QPA_PLATFORM=xcb \
  exec "$orvane" > "$work/run/orvane.log" 2>&1) &
app_pid=$!
pids+=($app_pid)
for _ in $(seq 200); do grep -q '^focus ' "$work/run/window.txt" 2>/dev/null && break; sleep 0.05; done
xdotool search --sync --onlyvisible --name '^Orvane$' > /dev/null
sleep 2.5  # the first prompt

# What each key makes the program say: the headless runner tells, one key more each time.
mapfile -t keys < <(sed -n 's/^key //p' "$keys_script")
prefix=("start")
expected=("$(cd "$work/run" && echo start | "$sim" | grep '^say .* "[^"]')")
previous=1
said=()  # per key: "" or the mode of its last utterance
for key in "${keys[@]}"; do
  prefix+=("key $key")
  mapfile -t lines < <(cd "$work/run" && printf '%s\n' "${prefix[@]}" | "$sim" |
    grep '^say .* "[^"]')
  new=("${lines[@]:$previous}")
  previous=${#lines[@]}
  expected+=("${new[@]}")
  mode=
  if (( ${#new[@]} > 0 )); then mode=$(sed 's/^say mode=\([0-9]*\).*/\1/' <<< "${new[-1]}"); fi
  said+=("$mode")
done

for i in "${!keys[@]}"; do
  key=${keys[$i]}
  [[ $key == Enter ]] && key=Return
  xdotool key "$key"
  if (( i == 9 )); then import -window root "$out/e2e-checked.png"; fi
  # A Japanese prompt takes a few seconds; a caption well under one.
  if [[ ${said[$i]} == 1 ]]; then sleep 4.5; else sleep 1.6; fi
done
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app_pid" 2>/dev/null && { echo "FAIL: the window did not end at End"; exit 1; }
# The recorder runs behind: wait until it has caught up with the wall clock, then stop it.
needed=$(( ($(date +%s) - recording_from + 2) * rate * 2 ))
for _ in $(seq 300); do
  (( $(stat -c %s "$work/rec.raw") >= needed )) && break
  sleep 0.1
done
kill -INT "$parec_pid"
wait "$parec_pid" 2>/dev/null || true
sox -t raw -r $rate -e signed -b 16 -c 1 "$work/rec.raw" "$out/e2e-recording.wav"
cp "$work/run/window.txt" "$out/e2e-window.txt"
cp "$work/run/orvane.log" "$work/pulse/log.txt" "$out/" 2>/dev/null || true

# The recording's non-silent stretches: 50 ms windows above the threshold, with pauses shorter
# than 0.4 s inside one stretch.
sox -t raw -r $rate -e signed -b 16 -c 1 "$work/rec.raw" -t dat - |
  awk -v rate=$rate 'BEGIN { win = int(rate / 20) }
    /^;/ { next }
    { sum += $2 * $2; if (++n == win) { rms = sqrt(sum / n); sum = 0; n = 0; t = w++ * 0.05
        if (rms > 0.01) { if (!on || t - last > 0.4) { if (on) print start, last; start = t; on = 1 }
                          last = t + 0.05 } } }
    END { if (on) print start, last }' > "$work/stretches.txt"
cp "$work/stretches.txt" "$out/e2e-stretches.txt"
printf '%s\n' "${expected[@]}" > "$out/e2e-expected.txt"

failed=0
heard=$(wc -l < "$work/stretches.txt")
if (( heard != ${#expected[@]} )); then
  echo "FAIL: ${#expected[@]} utterances expected, $heard heard"
  failed=1
else
  i=0
  while read -r from to; do
    line=${expected[$i]}
    length=$(echo "$to - $from" | bc)
    if [[ $line == "say mode=1 "* ]]; then
      long=$(echo "$length >= 0.8" | bc)  # a prompt
    else
      long=$(echo "$length < 2.5" | bc)  # a caption or a short sentence
    fi
    if [[ $long != 1 ]]; then
      echo "FAIL: stretch $((i + 1)) (${from}s, ${length}s) does not fit: $line"
      failed=1
    fi
    i=$((i + 1))
  done < "$work/stretches.txt"
fi
echo "audio: ${#expected[@]} utterances expected, $heard heard; artefacts in $out"
if (( failed )); then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
