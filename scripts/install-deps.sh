#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Orvane need, or the
# packages named as arguments. Packages that are already there are left alone; nothing is
# installed when all are.
set -euo pipefail

default=(
  build-essential cmake ninja-build pkg-config clang-format clang libclang-rt-14-dev
  libgtest-dev
  qt6-base-dev qt6-translations-l10n libfontconfig-dev
  libespeak-ng-dev espeak-ng-data libpcaudio-dev flite1-dev libpulse-dev libspeechd-dev
  speech-dispatcher speech-dispatcher-espeak-ng
  libmecab-dev mecab-ipadic-utf8 mecab-ipadic mecab-utils open-jtalk-mecab-naist-jdic python3
  praat
  fonts-ipafont-gothic
  xvfb xdotool xauth x11-apps imagemagick
  at-spi2-core python3-pyatspi dbus-daemon libglib2.0-bin
  pulseaudio pulseaudio-utils sox time
  libpocketsphinx-dev pocketsphinx-en-us libx11-dev libxtst-dev
  util-linux
  dpkg-dev desktop-file-utils appstream appstream-compose lintian man-db
  emscripten nodejs chromium
)
# npm for the browser tests' packages, unless a Node.js of its own brought it.
command -v npm > /dev/null || default+=(npm)
if (($# > 0)); then packages=("$@"); else packages=("${default[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
