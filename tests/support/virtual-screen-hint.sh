#!/usr/bin/env bash
# The quick start without a desktop: the screenshot command it prints works exactly as printed, also
# while another program holds the display a fixed choice would have taken.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
busy=
cleanup() {
    [[ -n $busy ]] && kill "$busy" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY XAUTHORITY
# A display in use: the first the old choice would have tried.
Xvfb :99 -nolisten tcp >/dev/null 2>&1 &
busy=$!
mkfifo "$work/ready"
"$root/tools/on-virtual-screen.sh" sh -c 'echo started >"$0"; sleep 60' "$work/ready" >"$work/out" 2>&1 &
runner=$!
read -r _ <"$work/ready"
hint=$(sed -n 's/^  Look at it:  //p' "$work/out")
(cd "$work" && env -i PATH="$PATH" sh -c "$hint")
kill "$runner"
wait "$runner" 2>/dev/null || true
[[ -s $work/quillon.png ]] || { echo "FAILED: no screenshot"; exit 1; }
if grep -q '^xauth:' "$work/out"; then echo "FAILED: xauth complained:"; cat "$work/out"; exit 1; fi
echo "the printed command took the screenshot"
