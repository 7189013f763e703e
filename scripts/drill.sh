#!/usr/bin/env bash
# Builds Orvane and starts the drill on the example question file in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)"
cd examples
if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
  echo "No display to open the window on; playing one question headless instead:" >&2
  exec ../build/bin/orvane-sim demo.sim
fi
exec ../build/bin/orvane
