#!/usr/bin/env bash
# Output that could not be written is a failure: each tool exits 1, with a message on standard
# error, when its standard output is a full disk.
# usage: output_failures.sh BIN_DIR EXAMPLES_DIR
set -uo pipefail
bin=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples/toi.dat" "$examples/speech.ini" "$work/"
passed=0 failed=0
expect_write_failure() {  # WHAT COMMAND...
  local what=$1
  shift
  "$@" > /dev/full 2> "$work/stderr"
  local status=$?
  if [[ $status -eq 1 && -s "$work/stderr" ]]; then
    passed=$((passed + 1))
  else
    echo "FAIL: $what into a full disk: exit $status, stderr: $(head -c 200 "$work/stderr")"
    failed=$((failed + 1))
  fi
}
expect_write_failure "orvane-check --list" "$bin/orvane-check" --list "$work/toi.dat"
expect_write_failure "orvane-sim" bash -c "cd '$work' && printf 'start\nkey Tab\n' | '$bin/orvane-sim'"
expect_write_failure "orvane-say --reading" "$bin/orvane-say" --reading 3本
echo "$passed passed, $failed failed"
((failed == 0))
