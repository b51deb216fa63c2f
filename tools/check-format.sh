#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what .clang-format makes of it.
#   tools/check-format.sh          check (the test command runs this)
#   tools/check-format.sh --fix    rewrite the files in place
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is missing; run tools/setup.sh" >&2; exit 1; }
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.c')
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "check-format: the files above differ from .clang-format ($(clang-format --version)); tools/check-format.sh --fix rewrites them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files as .clang-format wants them"
