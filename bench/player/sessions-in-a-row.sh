#!/usr/bin/env bash
# The program's memory over video sessions opened one after another on the sample disc.
#   bench/player/sessions-in-a-row.sh [QUILLON] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/make-sample-disc.sh" "$work/disc" "${1:-$root/build/catalogue/quillon}" >/dev/null
export HOME=$work XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- /usr/bin/python3 "$here/sessions_in_a_row.py" "$work/disc" "${2:-8}"
