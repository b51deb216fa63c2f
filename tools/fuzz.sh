#!/usr/bin/env bash
# tools/fuzz.sh [SECONDS [NAME...]]: builds the fuzz targets (build-fuzz/: clang, libFuzzer, ASan, UBSan)
# and runs each (or each NAME) for SECONDS (default 3600), one after another, on its seed corpus under
# fuzz/corpus/.
# What a target grows is kept in build-fuzz/fuzz/corpus/NAME and used again by the next run; what it
# finds goes to build-fuzz/fuzz/findings/NAME/. Prints executions, coverage and findings per target.
# Fails when any target finds a fault: a crash or failed check, a sanitizer report, a leak, or an
# input slower than 1 second. A mended finding goes into the seed corpus, to run on every build.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
root=$(pwd)
seconds=${1:-3600}
chosen=("${@:2}")
build=$root/build-fuzz
jobs=2

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing; run tools/setup.sh" >&2
    exit 1
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLON_FUZZ=ON -DQUILLON_BENCH=OFF >/dev/null || exit 1
nice cmake --build "$build" -j "$jobs" --target fuzzers || exit 1

# name, seed corpus (under fuzz/corpus), dictionary (under fuzz/dict, "-" for none)
targets=(
    "fuzz_session_name session_name names.dict"
    "fuzz_recording_start recording_start names.dict"
    "fuzz_notes_document notes xml.dict"
    "fuzz_notes_queries notes xml.dict"
    "fuzz_pedal pedal -"
)

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen

# The value after "KEY:" on libFuzzer's last status line.
status() { sed -n "s/.* $1: *\([0-9]*\).*/\1/p" <<<"$2"; }

summary=()
failed=0
for target in "${targets[@]}"; do
    read -r name seeds dict <<<"$target"
    if ((${#chosen[@]})) && [[ " ${chosen[*]} " != *" $name "* ]]; then
        continue
    fi
    corpus=$build/fuzz/corpus/$name
    findings=$build/fuzz/findings/$name
    log=$build/fuzz/$name.log
    mkdir -p "$corpus" "$findings"
    options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/")
    [[ $dict == - ]] || options+=(-dict="$root/fuzz/dict/$dict")
    echo "=== $name: $seconds s (log: $log)"
    before=$(find "$findings" -type f | wc -l)
    nice -n 10 "$build/fuzz/$name" "${options[@]}" "$corpus" "$root/fuzz/corpus/$seeds" >"$log" 2>&1
    rc=$?
    found=$(($(find "$findings" -type f | wc -l) - before))
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    line=$(printf '%-22s %12s runs %8s/s  edges %5s  features %6s  corpus %5s  findings %s' "$name" \
        "${runs:-?}" "${rate:-?}" "$(status cov "$last")" "$(status ft "$last")" \
        "$(status corp "$last")" "$found")
    echo "$line"
    summary+=("$line")
    if ((rc != 0 || found > 0)); then
        failed=1
        echo "fuzz: $name stopped with status $rc; findings in $findings:" >&2
        ls -1 "$findings" >&2
        grep -E -A 3 'fuzz check failed|ERROR: |runtime error:' "$log" | grep -v '^ *#' | head -n 20 >&2
        grep -E 'Test unit written|^SUMMARY' "$log" >&2
    fi
done

echo "=== fuzz summary ($seconds s each)"
printf '%s\n' "${summary[@]}"
if ((failed)); then
    echo "fuzz: FAILED: see the findings above" >&2
    exit 1
fi
echo "fuzz: no findings"
