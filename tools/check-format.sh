#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what .clang-format makes of it.
#   tools/check-format.sh          check (the test command runs this)
#   tools/check-format.sh --fix    rewrite the files in place
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is missing; run tools/setup.sh" >&2; exit 1; }
# The tree is laid out by Debian 12's clang-format 14 (CI's); other versions break some lines
# differently, so elsewhere the check says so and stands aside rather than fail on layout alone.
wanted=14
version=$(clang-format --version | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
if [[ $version != "$wanted" ]]; then
    echo "check-format: skipped: the tree is laid out by clang-format $wanted, this is clang-format ${version:-unknown}"
    exit 0
fi
# The files git tracks; in an unpacked tree without git, every C and C++ file outside the build folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.c')
else
    mapfile -t files < <(find . -path './build*' -prune -o -path './sample-disc' -prune -o \
        -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print | sort)
fi
((${#files[@]})) || { echo "check-format: no C or C++ files found" >&2; exit 1; }
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "check-format: the files above differ from .clang-format ($(clang-format --version)); tools/check-format.sh --fix rewrites them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files as .clang-format wants them"
