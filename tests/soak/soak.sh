#!/usr/bin/env bash
# Soak: orvane-sim drives 10,000 questions and over 100,000 auto-scan steps through a generated
# question file, while its memory is sampled; the run fails if memory grows in its second half.
# usage: soak.sh ORVANE_SIM [QUESTIONS]
set -euo pipefail
sim=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
questions=${2:-10000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# In a sanitizer build freed memory waits in a quarantine that grows with the run; keep it
# small so that the peak measures the program, not the sanitizer.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1:thread_local_quarantine_size_kb=64"
printf '0\r\n1\r\n2\r\n' > speech.ini

# Question n has four words w1..w4 (with n in them) and a closing mark.
awk -v n="$questions" 'BEGIN {
  for (q = 1; q <= n; q++) {
    printf "%d\r\nquestion %d\r\n", q, q
    for (w = 1; w <= 4; w++) printf "w%d_%d\r\n", w, q
    printf "\r\n\r\n\r\n.\r\n"
  }
  printf "*\r\n"
}' > toi.dat

# Each question: the scan lands on Start, Enter reveals; the words are placed, right or (every
# third question) in a wrong order; Speak; then ten scan steps walk the buttons; Next.
awk -v n="$questions" 'BEGIN {
  print "start"; print "menu N7"
  for (q = 1; q <= n; q++) {
    print "wait 6000"; print "key Enter"
    if (q % 3 == 0) { a = 2; b = 1 } else { a = 1; b = 2 }
    printf "clickword W%d_%d\nclickword w%d_%d\n", a, q, b, q
    for (w = 3; w <= 4; w++) printf "clickword w%d_%d\n", w, q
    print "click Button10"; print "click Start"
    for (s = 0; s < 10; s++) print "wait 4000"
    if (q % 3 == 0) print "click Answer"
    print "click Next"
  }
  print "show Score_Label"
}' > soak.sim
# The first word is capitalised when placed: its caption must be matched as it is on the button.
sed -i 's/^clickword W\([0-9]\)_/clickword w\1_/' soak.sim

# Peak memory of the whole run, and of a run a tenth as long: flat memory means the same peak.
/usr/bin/time -f '%M' -o peak.txt "$sim" soak.sim > out.txt
head -n "$(( $(grep -n '^click Next' soak.sim | sed -n "$(( questions / 10 ))p" | cut -d: -f1) ))" \
  soak.sim > short.sim
/usr/bin/time -f '%M' -o short-peak.txt "$sim" short.sim > /dev/null

steps=$(grep -c '^wait ' soak.sim)
score=$(grep '^Score_Label' out.txt)
peak=$(tail -n 1 peak.txt)
short=$(tail -n 1 short-peak.txt)
echo "soak: $questions questions, $steps auto-scan intervals, $score"
echo "soak: peak RSS ${peak} kB; ${short} kB for the first tenth of the run"
expected=$(( questions - questions / 3 ))
[[ $score == *"caption=\"$expected/$questions "* ]] || { echo "FAIL: unexpected score"; exit 1; }
(( steps >= 100000 )) || { echo "FAIL: only $steps scan steps"; exit 1; }
(( peak <= short + 4096 )) || { echo "FAIL: memory grew by $((peak - short)) kB"; exit 1; }
echo "soak: 1 passed, 0 failed"
