#!/bin/sh
# Runs a command on a private Xvfb display (the real media component draws with OpenGL).
# The server picks a free display itself (-displayfd), so tests may run in parallel.
set -u
fifo_dir=$(mktemp -d) || exit 1
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo_dir/display" 2>/dev/null &
xvfb=$!
read -r display <"$fifo_dir/display"
rm -rf "$fifo_dir"
if [ -z "$display" ]; then
    echo "with-xvfb.sh: Xvfb did not start" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
