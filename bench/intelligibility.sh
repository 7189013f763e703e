#!/usr/bin/env bash
# How well a listener understands the English voices: synthesises the drill sentences and
# captions in intelligibility.txt with orvane-say, gives each a faint noise floor at 16 kHz (the
# recognizer fails on digital silence), recognises it with pocketsphinx and prints the word error
# rate of each voice mode. Installs pocketsphinx when it is missing.
# usage: bench/intelligibility.sh [BUILD_DIR] [MODE...]   (modes default: 2, and eSpeak NG en-us)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
shift || true
say=$build/bin/orvane-say
bash "$here/install-deps.sh"
model=/usr/share/pocketsphinx/model/en-us
modes=("$@")
if ((${#modes[@]} == 0)); then
  espeak_us=$("$say" --list | awk -F') ' '/eSpeak NG\) 1033$/ {print $1; exit}')
  modes=(2 "$espeak_us")
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for mode in "${modes[@]}"; do
  title=$("$say" --list | sed -n "s/^$mode) \(.*\) [0-9]*\$/\1/p")
  : > "$work/pairs.txt"
  while IFS= read -r line; do
    [[ -z $line ]] && continue
    "$say" --mode "$mode" --wav "$work/voice.wav" "$line"
    sox "$work/voice.wav" -r 16000 -c 1 -b 16 "$work/16k.wav" pad 0.3 0.3
    seconds=$(soxi -D "$work/16k.wav")
    sox -n -r 16000 -c 1 -b 16 "$work/noise.wav" synth "$seconds" whitenoise vol 0.003
    sox -m "$work/16k.wav" "$work/noise.wav" "$work/heard.wav"
    heard=$(pocketsphinx_continuous -infile "$work/heard.wav" -hmm "$model/en-us" \
      -lm "$model/en-us.lm.bin" -dict "$model/cmudict-en-us.dict" -logfn /dev/null 2>/dev/null |
      tr '\n' ' ')
    printf '%s\t%s\n' "$line" "$heard" >> "$work/pairs.txt"
  done < "$here/intelligibility.txt"
  /usr/bin/python3 - "$work/pairs.txt" "$mode" "$title" <<'PY'
import re, sys
def words(s):
    return re.sub(r"[^a-z' ]", " ", s.lower()).split()
def distance(a, b):
    row = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        prev, row[0] = row[0], i
        for j, y in enumerate(b, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (x != y))
    return row[-1]
errors = total = 0
for line in open(sys.argv[1], encoding="utf-8"):
    said, heard = line.rstrip("\n").split("\t")
    errors += distance(words(said), words(heard))
    total += len(words(said))
print(f"mode {sys.argv[2]} {sys.argv[3]}: word error rate {100 * errors / total:.1f}% "
      f"({errors} errors in {total} words)")
PY
done
