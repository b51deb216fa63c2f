#!/usr/bin/env bash
# The clock on the sample disc, in the real program on a virtual screen.
#   run-clock-on-disc.sh QUILLON [SHOT.png]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/make-sample-disc.sh" "$work/disc" "$1" >/dev/null
"$root/tests/support/private-session.sh" /usr/bin/python3 "$here/clock_on_disc.py" "$work/disc" ${2:+"$2"}
