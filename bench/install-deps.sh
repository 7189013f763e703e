#!/usr/bin/env bash
# What the benchmarks need beyond the build's own packages: X and PulseAudio headers for the
# window's timing tools, pocketsphinx for the intelligibility measure.
set -euo pipefail
packages=(libx11-dev libxtst-dev libxdamage-dev libpulse-dev pocketsphinx pocketsphinx-en-us sox)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
