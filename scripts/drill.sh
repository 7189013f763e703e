#!/usr/bin/env bash
# Builds Orvane and starts the drill on the example question file in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)"
cd examples
# The window comes in its own step; until then the headless runner plays a scripted question.
exec ../build/tools/orvane-sim demo.sim
