#!/usr/bin/env bash
# End to end with real audio: the real window under Xvfb speaks through a private PulseAudio
# server into a null sink whose monitor is recorded, while xdotool drives two questions with Tab
# and Enter alone (tests/smoke/keys.sim), a pause after each key. The headless runner tells what
# each key makes the program say. From the recording the test checks that every utterance was
# heard where it belongs: one non-silent stretch starting within a second of its key (prompts
# long, captions short), and nothing heard after a key that says nothing.
# Keeps a screenshot, the recording (WAV) and the timeline it read as artefacts.
# usage: audio_e2e.sh BIN_DIR DATA_DIR ARTEFACT_DIR   (BIN_DIR has orvane, orvane-sim, orvane-say)
set -euo pipefail
bin=$(realpath "$1") data=$(realpath "$2") out=$3
orvane=$bin/orvane sim=$bin/orvane-sim orvane_say=$bin/orvane-say
here=$(cd "$(dirname "$0")" && pwd)
keys_script=$here/../smoke/keys.sim
mkdir -p "$out"
rate=22050
format=(--raw --format=s16le --rate=$rate --channels=1 --latency-msec=20)
source "$here/../support/audio-stage.sh"  # the null sink's timeline follows the wall clock
parec -d orvane_null.monitor "${format[@]}" > "$work/rec.raw" 2> "$work/parec.log" &
parec_pid=$!
for _ in $(seq 200); do [[ -s $work/rec.raw ]] && break; sleep 0.01; done
# Where the recording stands now, in seconds: the moment of an event on its timeline.
now() { awk -v bytes="$(stat -c %s "$work/rec.raw")" -v rate=$rate 'BEGIN { printf "%.3f", bytes / (rate * 2) }'; }

# What each key makes the program say: the headless runner tells, one key more each time.
mkdir "$work/run"
cp "$data/smoke.dat" "$work/run/toi.dat"
cp "$data/speech.ini" "$work/run/speech.ini"
said_by() { (cd "$work/run" && printf '%s\n' "$@" | "$sim" | grep '^say .* "[^"]' || true); }
mapfile -t keys < <(sed -n 's/^key //p' "$keys_script")
# Per event (the start, then each key): what it says, if anything.
script=() expected=() previous=0
for event in start "${keys[@]/#/key }"; do
  script+=("$event")
  mapfile -t lines < <(said_by "${script[@]}")
  new=("${lines[@]:$previous}")
  previous=${#lines[@]}
  if (( ${#new[@]} > 1 )); then
    echo "FAIL: '$event' says more than one thing; this test tells one utterance per event"
    exit 1
  fi
  expected+=("${new[*]}")
done

events=("$(now)")
(cd "$work/run" && ORVANE_TRANSCRIPT="$work/run/window.txt" QT_QPA_PLATFORM=xcb \
  ORVANE_SOUND_REPORT="$work/run/sound.txt" \
  exec "$orvane" > "$work/run/orvane.log" 2>&1) &
app_pid=$!
pids+=($app_pid)
for _ in $(seq 200); do grep -q '^focus ' "$work/run/window.txt" 2>/dev/null && break; sleep 0.05; done
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Orvane$' > /dev/null; then
  echo "FAIL: the window did not show"; cat "$work/run/orvane.log"; exit 1
fi
sleep 4  # the first prompt

for i in "${!keys[@]}"; do
  key=${keys[$i]}
  [[ $key == Enter ]] && key=Return
  events+=("$(now)")
  xdotool key "$key"
  if (( i == 9 )); then import -window root "$out/e2e-checked.png"; fi
  # A Japanese prompt takes a few seconds; a caption well under one.
  if [[ ${expected[$((i + 1))]} == "say mode=1 "* ]]; then sleep 4.5; else sleep 1.6; fi
done
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app_pid" 2>/dev/null && { echo "FAIL: the window did not end at End"; exit 1; }
status=0
wait "$app_pid" || status=$?
if (( status != 0 )); then  # in the sanitizer build, also a memory error or a leak
  echo "FAIL: the window ended with status $status"
  cat "$work/run/orvane.log"
  exit 1
fi
events+=("$(now)")
kill -INT "$parec_pid"
wait "$parec_pid" 2>/dev/null || true
sox -t raw -r $rate -e signed -b 16 -c 1 "$work/rec.raw" "$out/e2e-recording.wav"
cp "$work/run/window.txt" "$out/e2e-window.txt"
cp "$work/run/orvane.log" "$work/pulse/log.txt" "$out/" 2>/dev/null || true

# Non-silent stretches of a sound file (sox's input arguments): 50 ms windows above the
# threshold, with pauses shorter than 0.3 s inside one stretch; "start end" in seconds.
stretches() {
  sox "$@" -t dat - | awk '/^;/ { if ($2 == "Sample" && $3 == "Rate") win = int($4 / 20); next }
    { sum += $2 * $2; if (++n == win) { rms = sqrt(sum / n); sum = 0; n = 0; t = w++ * 0.05
        if (rms > 0.01) { if (!on || t - last > 0.3) { if (on) print start, last; start = t; on = 1 }
                          last = t + 0.05 } } }
    END { if (on) print start, last }'
}
stretches -t raw -r $rate -e signed -b 16 -c 1 "$work/rec.raw" > "$work/stretches.txt"

# How long each utterance sounds when the same voice speaks it straight into a file.
sound_length() {  # the utterance's say line
  local mode speed text
  read -r mode speed text <<< "$(sed 's/^say mode=\([0-9]*\) speed=\([0-9]*\) "\(.*\)"$/\1 \2 \3/' <<< "$1")"
  "$orvane_say" --mode "$mode" --speed "$speed" --wav "$work/one.wav" "$text" > /dev/null
  stretches "$work/one.wav" | awk 'NR == 1 { from = $1 } { to = $2 } END { print to - from + 0 }'
}

# One line per event: when it happened, when the next one did, how long what it says sounds on
# its own, and what it says ("-": nothing).
for i in "${!expected[@]}"; do
  line=${expected[$i]}
  length=0
  [[ -n $line ]] && length=$(sound_length "$line")
  printf '%s %s %s %s\n' "${events[$i]}" "${events[$((i + 1))]}" "$length" "${line:--}"
done > "$work/events.txt"
cp "$work/stretches.txt" "$out/e2e-stretches.txt"
cp "$work/events.txt" "$out/e2e-events.txt"

# Each stretch belongs to the last event at or before its start (50 ms of slack for the
# recorder's own latency). An event that says something owns exactly one stretch, starting
# within a second of it and about as long as the utterance sounds on its own; an event that says
# nothing owns none.
awk 'NR == FNR { from[NR] = $1; to[NR] = $2; ref[NR] = $3; speaks[NR] = $4 != "-"
                 $1 = $2 = $3 = ""; text[NR] = substr($0, 4); n = NR; next }
  { s = $1; e = $2; owner = 0
    for (i = 1; i <= n; i++) if (from[i] - 0.05 <= s && s < to[i] - 0.05) owner = i
    if (!owner) { printf "FAIL: sound at %.2fs outside every event\n", s; bad = 1; next }
    if (++count[owner] == 1) { start[owner] = s; heard[owner] = e - s } }
  END {
    for (i = 1; i <= n; i++) {
      if (speaks[i]) expected++
      if (!speaks[i] && count[i]) { printf "FAIL: sound after a silent event: %s\n", text[i]; bad = 1 }
      else if (speaks[i] && count[i] != 1) {
        printf "FAIL: %d stretches for: %s\n", count[i], text[i]; bad = 1
      } else if (speaks[i]) {
        delay = start[i] - from[i]
        if (delay > 1.0) { printf "FAIL: heard %.2fs late: %s\n", delay, text[i]; bad = 1 }
        else if (heard[i] < ref[i] * 0.8 - 0.15 || heard[i] > ref[i] * 1.2 + 0.15) {
          printf "FAIL: %.2fs heard where %.2fs was due: %s\n", heard[i], ref[i], text[i]; bad = 1
        } else in_place++
      }
    }
    printf "audio: %d utterances expected, %d heard in place\n", expected, in_place
    exit bad }' "$work/events.txt" "$work/stretches.txt" && ok=1 || ok=0
# The sound never broke up inside an utterance (the device ran dry while it was being played).
if ! grep -qx 'underruns 0' "$work/run/sound.txt" 2>/dev/null; then
  echo "FAIL: the sound broke up: $(cat "$work/run/sound.txt" 2>/dev/null || echo 'no report')"
  ok=0
fi
echo "artefacts in $out"
if (( ! ok )); then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
