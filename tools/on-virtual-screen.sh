#!/usr/bin/env bash
# Runs a command on a virtual screen nobody sees (Xvfb) and prints how to look at it: a screenshot
# command that works as printed. The server picks a free display itself (-displayfd) and admits only
# holders of this run's X authority file, which the printed command names.
#   tools/on-virtual-screen.sh COMMAND [ARGS...]
set -uo pipefail
state=$(mktemp -d) || exit 1
xvfb=
program=
cleanup() {
    [[ -n $program ]] && kill "$program" 2>/dev/null
    if [[ -n $xvfb ]]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$state"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

auth=$state/Xauthority
cookie=$(mcookie)
# The server reads the cookie from the file; the entry for the display it picks is added after.
# (Made empty first: xauth says the file does not exist otherwise.)
: >"$auth"
xauth -q -f "$auth" add :0 . "$cookie"
mkfifo "$state/display"
Xvfb -displayfd 3 -auth "$auth" -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" 2>"$state/xvfb.log" &
xvfb=$!
read -r display <"$state/display"
if [[ -z $display ]]; then
    echo "on-virtual-screen.sh: Xvfb did not start" >&2
    cat "$state/xvfb.log" >&2
    exit 1
fi
xauth -q -f "$auth" add ":$display" . "$cookie"
export DISPLAY=:$display XAUTHORITY=$auth
unset WAYLAND_DISPLAY

echo "The program runs on the virtual screen :$display (Xvfb)."
echo "  Look at it:  DISPLAY=:$display XAUTHORITY=$auth import -window root quillon.png"
echo "  Stop it:     Ctrl-C"
"$@" &
program=$!
wait "$program"
status=$?
program=
exit $status
