#!/usr/bin/env bash
# Installs the browser tests' npm packages (puppeteer-core, axe-core) exactly as package-lock.json
# pins them, into tests/web/node_modules. Nothing is fetched when they are there already; the
# npm cache is tried first, so a machine that had them once installs them offline.
set -euo pipefail
cd "$(dirname "$0")"
stamp=node_modules/.orvane-lock.sha256
want=$(sha256sum package-lock.json | cut -d' ' -f1)
if [[ -f $stamp && $(cat "$stamp") == "$want" ]]; then exit 0; fi
npm ci --prefer-offline --no-audit --no-fund --loglevel=error
echo "$want" > "$stamp"
