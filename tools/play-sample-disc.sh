#!/usr/bin/env bash
# Quick start: installs what is missing, builds the player (build/, Release; not the tests and
# benchmarks), makes the sample disc (sample-disc/) and opens the player on it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j 2 --target quillon # the player only: the tests build with tools/run-tests.sh
tools/make-sample-disc.sh sample-disc build/catalogue/quillon

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec sample-disc/quillon
fi

# No desktop: a virtual screen nobody sees, and how to look at it.
echo "DISPLAY is not set."
exec tools/on-virtual-screen.sh sample-disc/quillon
