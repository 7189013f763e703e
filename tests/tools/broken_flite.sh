#!/usr/bin/env bash
# A broken Flite is neither silent nor fatal: with Flite itself or the drill's English voice
# replaced (through LD_LIBRARY_PATH, found first as the dynamic linker finds it) by an empty
# file, a copy cut short, or a library that is not a voice, orvane-say never dies of a signal,
# never offers a voice whose library is not whole, and either speaks mode 2 with sound or fails
# with an error; it never writes an empty WAV and calls that success.
# usage: broken_flite.sh ORVANE_SAY
set -uo pipefail
say=$1
lib=$(dirname "$(readlink -f "$(ldconfig -p | awk '/libflite_cmu_us_rms\.so\.1 / {print $NF; exit}')")")
[[ -d $lib ]] || { echo "FAIL: Flite's rms voice is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
for target in libflite_cmu_us_rms.so.1 libflite.so.1; do
  for damage in empty truncated not-a-voice; do
    rm -f "$work"/*.so.1
    case $damage in
      empty) : > "$work/$target" ;;
      truncated) head -c 200000 "$(readlink -f "$lib/$target")" > "$work/$target" ;;
      not-a-voice) cp "$(ldconfig -p | awk '/libm\.so\.6 / {print $NF; exit}')" "$work/$target" ;;
    esac
    what="$target $damage"
    list=$(LD_LIBRARY_PATH=$work "$say" --list 2> /dev/null)
    status=$?
    ((status == 0)) || { fail "$what: --list exited $status"; continue; }
    if [[ $damage != not-a-voice ]]; then
      # A library that is not whole is never offered.
      if [[ $target == libflite.so.1 ]] && grep -q 'America, slt' <<< "$list"; then
        fail "$what: Flite's voices are still offered"
        continue
      fi
      if [[ $target != libflite.so.1 ]] && grep -q '^2) English (America) ' <<< "$list"; then
        fail "$what: the rms voice is still offered"
        continue
      fi
    fi
    LD_LIBRARY_PATH=$work "$say" --mode 2 --wav "$work/out.wav" hello 2> "$work/err"
    status=$?
    if ((status >= 128)); then
      fail "$what: orvane-say died of signal $((status - 128))"
    elif ((status == 0)) && (($(stat -c %s "$work/out.wav") < 4000)); then
      fail "$what: exit 0 with a WAV of $(stat -c %s "$work/out.wav") bytes"
    elif ((status != 0)) && ! grep -q 'error 3' "$work/err"; then
      fail "$what: exit $status without the error: $(head -c 200 "$work/err")"
    else
      passed=$((passed + 1))
    fi
  done
done
echo "$passed passed, $failed failed"
((failed == 0))
