#!/usr/bin/env bash
# Builds Orvane and runs every test: once in a warnings-as-errors build, once with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
run() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run build
# The Debian package, packed under umask 077, installed with apt and tried as a user would.
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
"${sudo[@]}" bash tests/package/package_test.sh build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run build-asan -DORVANE_SANITIZE=ON

# A soak in the sanitizer build: 10,000 questions, 110,000 scan steps, memory that stays flat.
bash tests/soak/soak.sh build-asan/bin/orvane-sim
# Each fuzz target for a while (FUZZ_SECONDS, default 60).
bash fuzz/run.sh "${FUZZ_SECONDS:-60}"
