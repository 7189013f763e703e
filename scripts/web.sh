#!/usr/bin/env bash
# Builds the web version (the core in WebAssembly and the page) into build-web/site and serves it
# on the loopback; open the address it prints in a browser. The folder holds static files only:
# any web server can host it (PORT sets the port, 8080 unless given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh cmake ninja-build emscripten python3

emcmake cmake -S . -B build-web -G Ninja -DORVANE_WEB=ON -DCMAKE_BUILD_TYPE=MinSizeRel
cmake --build build-web -j "$(nproc)"

port=${PORT:-8080}
echo
echo "Orvane is served at http://127.0.0.1:$port/ (the files: build-web/site; Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
