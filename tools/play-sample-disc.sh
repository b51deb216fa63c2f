#!/usr/bin/env bash
# Quick start: installs what is missing, builds the player (build/, Release), makes the sample disc
# (sample-disc/) and opens the player on it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j 2
tools/make-sample-disc.sh sample-disc build/catalogue/quillon

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec sample-disc/quillon
fi

# No desktop: run on a virtual screen that nobody sees, and say how to look at it.
display=99
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
echo "DISPLAY is not set: the player runs on the virtual screen :$display (Xvfb)."
echo "  Look at it:  DISPLAY=:$display import -window root quillon.png"
echo "  Stop it:     Ctrl-C"
exec xvfb-run -n "$display" -s "-screen 0 1280x1024x24" sample-disc/quillon
