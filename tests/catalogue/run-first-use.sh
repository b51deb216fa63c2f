#!/usr/bin/env bash
# First use on a machine without a desktop session bus: a one-video disc played with and without the
# toolkit's command-line options (first_use.py), writing nothing.
#   run-first-use.sh QUILLON
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/make-sample-disc.sh" "$work/disc" "$1" >/dev/null
# One video session only: the disc opens straight into the player.
video=$(cd "$work/disc" && ls -- *_3.wmv | head -n 1)
find "$work/disc" -maxdepth 1 -type f -iname '*.wm?' ! -name "$video" -delete
mkdir "$work/test"
# Afterwards the home folder and the temporary folder must be exactly as before: empty.
"$root/tests/support/private-session.sh" --check-writes --no-bus \
    /usr/bin/python3 "$here/first_use.py" "$work/disc/quillon" "$work/test"
