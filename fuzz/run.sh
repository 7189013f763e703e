#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each for SECONDS
# (default 60) from its seed corpus. New inputs found go to build-fuzz/corpus/, crashes to
# build-fuzz/findings/. usage: fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON -DORVANE_QT=OFF -DORVANE_TESTS=OFF > /dev/null
cmake --build build-fuzz --target fuzz-question_file fuzz-speech_ini fuzz-sim_script \
  fuzz-japanese_reading
mkdir -p build-fuzz/findings
for target in question_file speech_ini sim_script japanese_reading; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  cp -n fuzz/corpus/$target/* "$corpus/" 2>/dev/null || true
  echo "fuzzing $target for ${seconds}s"
  (cd build-fuzz/findings &&
    ASAN_OPTIONS=detect_leaks=1 ../bin/fuzz-$target -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 "../corpus/$target" 2>&1 |
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)|ERROR|SUMMARY" || true)
  # Any file libFuzzer left (crash-, leak-, timeout-, oom-) is a finding.
  if compgen -G "build-fuzz/findings/*-*" > /dev/null; then
    echo "fuzz-$target found a problem:" build-fuzz/findings/*-*
    exit 1
  fi
done
echo "fuzzing: 4 passed, 0 failed"
