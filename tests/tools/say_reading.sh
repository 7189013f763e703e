#!/usr/bin/env bash
# orvane-say --reading keeps the valid parts of a line with invalid bytes and never passes those
# bytes on, and prints the reading of a line of any length in the same memory.
# usage: say_reading.sh ORVANE_SAY
set -uo pipefail
say=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1:thread_local_quarantine_size_kb=64"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

got=$(printf '今日は\xff七時です。\n\xe4\xbb①の問題\n' | "$say" --reading)
expected=$'キョーワ シチジデス。\nイチノモンダイ'
[[ $got == "$expected" ]] || fail "a line with invalid bytes reads as '$got', not '$expected'"
printf '%s' "$got" | iconv -f UTF-8 -t UTF-8 > /dev/null 2>&1 || fail "invalid bytes were passed on"

sentence='今日は七時です。'
line() {  # BYTES FILE: one line of the sentence over and over
  local n=$(($1 / ${#sentence} / 3))
  for ((i = 0; i < 1000; i++)); do printf '%s' "$sentence"; done > "$work/unit"
  for ((i = 0; i < n / 1000; i++)); do cat "$work/unit"; done > "$2"
  echo >> "$2"
}
peak() {  # FILE: peak resident memory in kB, and the reading to FILE.out
  /usr/bin/time -f '%M' -o "$work/time" "$say" --reading < "$1" > "$1.out"
  tail -n 1 "$work/time"
}
line 1000000 "$work/1mb"
line 4000000 "$work/4mb"
small=$(peak "$work/1mb")
large=$(peak "$work/4mb")
echo "orvane-say --reading: peak ${small} kB for a line of 1 MB, ${large} kB for 4 MB"
((large - small > 4096)) && fail "the memory grows with the line"
read_count=$(grep -o 'キョーワシチジデス。' "$work/1mb.out" | wc -l)
written_count=$(grep -o "$sentence" "$work/1mb" | wc -l)
((read_count == written_count)) || fail "$read_count of $written_count sentences of a 1 MB line read"
[[ $(wc -l < "$work/1mb.out") -eq 1 ]] || fail "a 1 MB line did not read as one line"

((failed)) && { echo "0 passed, 1 failed"; exit 1; }
echo "4 passed, 0 failed"
