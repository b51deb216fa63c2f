#!/usr/bin/env bash
# The program's memory over video sessions opened one after another on the sample disc.
#   bench/player/sessions-in-a-row.sh [QUILLON] [ROUNDS]
# A smoke run (QUILLON_BENCH_SMOKE=1) plays one session for a second.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/make-sample-disc.sh" "$work/disc" "${1:-$root/build/catalogue/quillon}" >/dev/null
"$root/tests/support/private-session.sh" /usr/bin/python3 "$here/sessions_in_a_row.py" "$work/disc" "${2:-$([[ ${QUILLON_BENCH_SMOKE:-0} != 0 ]] && echo 1 || echo 8)}"
