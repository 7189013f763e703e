#!/usr/bin/env bash
# The results record survives a pulled plug: orvane-sim, fed its script a line at a time, is
# killed with SIGKILL in the middle of a lesson, and the record reads whole up to its last row:
# the byte-order mark and header, then every row made, each ending in CR LF.
# usage: results_power_cut.sh ORVANE_SIM EXAMPLES_DIR
set -uo pipefail
sim=$(readlink -f "$1")
examples=$(readlink -f "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$examples/toi.dat" "$examples/speech.ini" .
printf 'results=results.csv\n' > settings.ini
mkfifo script
"$sim" script > transcript &
pid=$!
exec 3<> script  # read-write: never waits for the runner to open it
# Each question is skipped: one row each. The runner has read a line when its transcript says so.
echo start >&3
for i in 1 2 3; do
  echo "menu N4" >&3
  echo "show Japanease" >&3
  for _ in $(seq 100); do
    [[ $(grep -c '^Japanease' transcript) -ge $i ]] && break
    sleep 0.05
  done
done
kill -9 "$pid"
wait "$pid" 2> /dev/null
exec 3>&-
rows=$(($(wc -l < results.csv) - 1))
if [[ $rows -ne 3 ]]; then
  echo "FAIL: $rows rows after three skips"
  cat -A results.csv
  exit 1
fi
if ! head -c 3 results.csv | cmp -s - <(printf '\xEF\xBB\xBF'); then
  echo "FAIL: no byte-order mark"
  exit 1
fi
if [[ $(tail -c 2 results.csv | od -An -c | tr -d ' ') != '\r\n' ]] ||
  [[ $(grep -c $'\r$' results.csv) -ne 4 ]]; then
  echo "FAIL: a row not whole"
  cat -A results.csv
  exit 1
fi
echo "passed: 3 rows whole after SIGKILL"
