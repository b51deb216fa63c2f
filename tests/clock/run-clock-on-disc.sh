#!/usr/bin/env bash
# The clock on the sample disc, in the real program on a virtual screen.
#   run-clock-on-disc.sh QUILLON [SHOT.png]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/make-sample-disc.sh" "$work/disc" "$1" >/dev/null
mkdir "$work/home"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- /usr/bin/python3 "$here/clock_on_disc.py" "$work/disc" ${2:+"$2"}
