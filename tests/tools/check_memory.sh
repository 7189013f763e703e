#!/usr/bin/env bash
# orvane-check reads a question file as a stream: its peak memory does not grow with the file.
# usage: check_memory.sh ORVANE_CHECK
set -uo pipefail
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# In a sanitizer build freed memory waits in a quarantine that grows with the run; keep it small.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1:thread_local_quarantine_size_kb=64"
record=$'1\r\n私は学生です。\r\nI\r\nam\r\na\r\nstudent\r\n\r\n\r\n\r\n.\r\n'
make_file() {  # RECORDS FILE: every record has a finding (no closing mark), so findings stream too
  local unit=${record%.$'\r\n'}$'\r\n'
  for ((i = 0; i < 1000; i++)); do printf '%s' "$unit"; done > "$work/block"
  for ((i = 0; i < $1 / 1000; i++)); do cat "$work/block"; done > "$2"
}
peak() {  # FILE ARGS...: the peak resident memory of orvane-check, in kB
  local file=$1
  shift
  /usr/bin/time -f '%M' -o "$work/time" "$check" "$@" "$file" > /dev/null
  tail -n 1 "$work/time"
}
make_file 10000 "$work/small.dat"
make_file 400000 "$work/large.dat"
failed=0
for mode in "" --list; do
  small=$(peak "$work/small.dat" $mode)
  large=$(peak "$work/large.dat" $mode)
  echo "orvane-check $mode: peak ${small} kB for 10,000 records, ${large} kB for 400,000"
  if ((large - small > 4096)); then
    echo "FAIL: orvane-check $mode grows with the file"
    failed=1
  fi
done
# A prompt of 12 million kanji on one line, in each encoding: held once as read and once as
# text, never in buffers grown by doubling or copied to be checked. The peak above a small
# file's stays under 3 times the file's size (Shift-JIS kanji take half again as much as text).
long_prompt() {  # ENCODING FILE
  { printf '1\r\n'; head -c $((12 * 1024 * 1024)) /dev/zero | tr '\0' 'x' | sed 's/x/漢/g'
    printf '\r\nI\r\nam\r\na\r\nstudent\r\n\r\n\r\n\r\n.\r\n'; } | iconv -t "$1" > "$2"
}
for encoding in UTF-8 CP932; do
  long_prompt "$encoding" "$work/long.dat"
  size=$(($(stat -c %s "$work/long.dat") / 1024))
  grown=$(($(peak "$work/long.dat") - small))
  echo "orvane-check, a $size kB prompt in $encoding: ${grown} kB above a small file's peak"
  if ((grown > size * 3)); then
    echo "FAIL: a long prompt in $encoding is held more than 3 times"
    failed=1
  fi
done
((failed)) && { echo "1 or more failed"; exit 1; }
echo "4 passed, 0 failed"
