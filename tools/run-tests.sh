#!/usr/bin/env bash
# Quick start: installs what is missing, builds (build/, Release) and runs every test, then builds
# and runs the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/).
# Any failing test or sanitizer report fails the command.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
jobs=2

tools/setup.sh

echo "=== Format"
tools/check-format.sh

echo "=== Release build (GCC) and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure

echo "=== AddressSanitizer + UndefinedBehaviorSanitizer build (Clang) and tests"
# Built with the other compiler, so that the whole tree, tests included, keeps building with both.
# Test discovery runs the test programs at build time, so the options hold for the build too.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Qt 6.8 (Debian 13) asks the desktop portal for its version at start-up and, when the program ends
# first, leaves the D-Bus watcher behind; its stacks stop inside Qt (no frame pointers), so no
# suppression can name it. The query only serves screen colour picking, which the player never uses.
export QT_NO_XDG_DESKTOP_PORTAL=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -E OpenGL
# The tests that draw video with OpenGL load Mesa's software GL here, which is unloaded before
# exit and leaves its own allocations behind under a name LeakSanitizer can no longer tell.
ASAN_OPTIONS=halt_on_error=1:detect_leaks=0:abort_on_error=0 \
    ctest --test-dir build-asan --output-on-failure -R OpenGL

echo "=== Fuzz targets, 60 s each (clang with libFuzzer, ASan and UBSan: build-fuzz/)"
# Fails on any crash, failed check, sanitizer report, leak, or input slower than 1 s.
tools/fuzz.sh 60

echo "=== all tests passed, twice"
