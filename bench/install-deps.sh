#!/usr/bin/env bash
# What the benchmarks need beyond the build's own packages: X and PulseAudio headers for the
# window's timing tools, pocketsphinx for the intelligibility measure, eSpeak NG's own command
# to time the first prompt against.
exec bash "$(dirname "$0")/../scripts/install-deps.sh" libx11-dev libxtst-dev libxdamage-dev \
  libpulse-dev pocketsphinx pocketsphinx-en-us sox espeak-ng
