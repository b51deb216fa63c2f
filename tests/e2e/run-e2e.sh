#!/usr/bin/env bash
# The end-to-end test: makes the sample disc and a one-file disc around the built executable, then
# drives the program on a virtual screen with its own session bus and accessibility bus.
#   run-e2e.sh QUILLON SHOTS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
exe=$1
shots=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots"
rm -f "$shots"/*.png "$shots"/*.txt

"$root/tools/make-sample-disc.sh" "$work/disc" "$exe" >/dev/null
"$root/tools/make-disc.sh" --quillon "$exe" "$work/single" "$work/disc/Hall2_03-02-2010_50400_1.wma" >/dev/null

# A private home, checked afterwards: nothing at all may be written there.
mkdir "$work/home"
"$root/tests/support/private-session.sh" --home "$work/home" \
    /usr/bin/python3 "$here/e2e_player.py" "$work/disc" "$work/single" "$shots"

written=$(cd "$work/home" && find . -mindepth 1 | head)
if [[ -n $written ]]; then
    echo "FAILED: files appeared in the private home:" $written
    exit 1
fi
