#!/usr/bin/env bash
# orvane-say reports failure as failure: a WAV file cut short by a full disk, and no sound device.
# usage: say_failures.sh ORVANE_SAY
set -uo pipefail
say=$1
failed=0
expect_failure() {
  local what=$1
  shift
  if "$@" > /dev/null 2>&1; then
    echo "FAIL: orvane-say exited 0 $what"
    failed=1
  fi
}
expect_failure "when its WAV file could not be written whole" "$say" --wav /dev/full hello
# No PulseAudio server and no ALSA device to fall back on.
expect_failure "without a sound device" \
  env PULSE_SERVER=unix:/nonexistent/socket ALSA_CONFIG_PATH=/dev/null "$say" hello
# A voice mode that does not exist, or a speed out of range, is a wrong command line that names
# the valid range.
for args in "--mode 999" "--mode 0" "--speed 20" "--speed 1000"; do
  # shellcheck disable=SC2086
  "$say" $args --wav /dev/null hello > /dev/null 2> "${TMPDIR:-/tmp}/say-err.$$"
  status=$?
  if [[ $status -ne 2 ]] || ! grep -Eq "1 to|80 to 450" "${TMPDIR:-/tmp}/say-err.$$"; then
    echo "FAIL: orvane-say $args: exit $status, $(head -c 200 "${TMPDIR:-/tmp}/say-err.$$")"
    failed=1
  fi
done
rm -f "${TMPDIR:-/tmp}/say-err.$$"
# And a good WAV file is still a success.
tmp=$(mktemp)
"$say" --wav "$tmp" hello || { echo "FAIL: orvane-say could not write a WAV file"; failed=1; }
# A long text takes long to synthesise, but that is no device fault: the file is written.
"$say" --wav "$tmp" "$(printf '7%.0s' {1..2000})" ||
  { echo "FAIL: orvane-say could not write 2,000 digits to a WAV file"; failed=1; }
[[ -s "$tmp" ]] || { echo "FAIL: orvane-say wrote no WAV file for 2,000 digits"; failed=1; }
rm -f "$tmp"
((failed)) && exit 1
echo "8 passed, 0 failed"
