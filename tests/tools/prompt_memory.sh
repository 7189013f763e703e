#!/usr/bin/env bash
# A huge prompt is held once: orvane-sim's peak memory for a question file whose prompt is one
# 40 MB line of kanji in Shift-JIS stays within three times the file's size (its bytes, and the
# one decoded copy shared by the prompt and its caption).
# usage: prompt_memory.sh ORVANE_SIM
set -uo pipefail
sim=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# In a sanitizer build freed memory waits in a quarantine; keep it small.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1:thread_local_quarantine_size_kb=64"
printf '0\r\n1\r\n2\r\n' > speech.ini
printf 'start\nkey Tab\nkey Enter\n' > script.sim
peak() {  # the peak resident memory of orvane-sim on toi.dat, in kB
  /usr/bin/time -f '%M' -o time.txt "$sim" script.sim > /dev/null
  tail -n 1 time.txt
}
record() {  # PROMPT_BYTES: one record whose prompt is that many bytes of 漢 in Shift-JIS
  { printf '1\r\n'; yes $'\x8a\xbf' | tr -d '\n' | head -c "$1"; printf '\r\nI\r\nam\r\n\r\n\r\n\r\n\r\n\r\n.\r\n'; } > toi.dat
}
record 2
base=$(peak)
record 40000000
size_kb=$(( $(stat -c %s toi.dat) / 1024 ))
huge=$(peak)
echo "orvane-sim: peak ${base} kB for a short prompt, ${huge} kB for a prompt of ${size_kb} kB"
if (( huge - base > 3 * size_kb )); then
  echo "FAIL: the prompt is held more than once ($(( (huge - base) * 100 / size_kb ))% of the file)"
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
