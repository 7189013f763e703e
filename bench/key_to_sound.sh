#!/usr/bin/env bash
# Key press to sound, heard: runs the end-to-end audio test (the real window under Xvfb, its
# speech recorded from a PulseAudio null sink) and, for every key that makes the program speak,
# measures from the moment the key was sent to the first 5 ms of the recording above the
# silence threshold. The key's moment is read off the recording's length when it was sent, so
# the figure covers xdotool, the X server, Qt, the engine and PulseAudio's buffer.
# usage: bench/key_to_sound.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
bash "$here/../tests/e2e/audio_e2e.sh" "$build/bin" "$here/../tests/scenarios/data" "$out" |
  grep -E '^(audio|FAIL)'
sox "$out/e2e-recording.wav" -t dat - |
  awk 'NR == FNR { if ($4 != "-" && FNR > 1) keys[++n] = $1; next }   # the start is no key
    /^;/ { if ($2 == "Sample" && $3 == "Rate") win = int($4 / 200); next }
    { sum += $2 * $2; if (++c == win) { loud[w++] = sqrt(sum / c) > 0.01; sum = 0; c = 0 } }
    END {
      for (i = 1; i <= n; i++) {
        for (j = int(keys[i] * 200); j < w && !loud[j]; j++) {}
        d[i] = (j - keys[i] * 200) * 5
      }
      for (i = 1; i <= n; i++) for (k = i + 1; k <= n; k++) if (d[k] < d[i]) { t = d[i]; d[i] = d[k]; d[k] = t }
      printf "key press to sound over %d keys: fastest %d ms, median %d ms, slowest %d ms\n",
        n, d[1], d[int((n + 1) / 2)], d[n] }' "$out/e2e-events.txt" -
