#!/usr/bin/env bash
# One short run of every benchmark under bench/player (QUILLON_BENCH_SMOKE=1: one repetition of a few
# cases on tiny inputs), so that one that no longer runs fails the test command. Its figures mean
# nothing; the full runs give them.
#   bench/player/smoke.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: smoke.sh BUILD_DIR}" && pwd)
export QUILLON_BENCH_SMOKE=1
failed=()
for bench in player_bench motion_bench window_bench; do
    echo "== $bench"
    out=$("$root/tests/support/private-session.sh" "$build/bench/player/$bench" 2>&1)
    status=$?
    printf '%s\n' "$out"
    # A case that cannot run says "ERROR OCCURRED", and the program still exits with 0.
    if ((status != 0)) || grep -q "ERROR OCCURRED" <<<"$out"; then
        failed+=("$bench")
    fi
done
echo "== sessions-in-a-row"
"$here/sessions-in-a-row.sh" "$build/catalogue/quillon" || failed+=(sessions-in-a-row)
if ((${#failed[@]})); then
    echo "smoke.sh: failed: ${failed[*]}" >&2
    exit 1
fi
echo "smoke.sh: every benchmark ran"
