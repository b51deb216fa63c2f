#!/usr/bin/env bash
# Runs a command in a session of its own: a new home folder (HOME and every XDG folder inside it), a
# private runtime folder, an Xvfb display whose number the server picks itself (-displayfd: a display
# in use is never taken and runs may overlap) and a private D-Bus session bus. Nothing of the
# machine's desktop is used, and nothing is written to the user's home.
#   private-session.sh [--check-writes] [--no-bus] COMMAND [ARGS...]
# With --check-writes the temporary folder (TMPDIR) is new too, and the run fails if anything is left
# in it or in the home. With --no-bus there is no session bus at all, as on a machine without a desktop.
set -uo pipefail
check=
bus=(dbus-run-session --)
while [[ ${1:-} == --* ]]; do
    case $1 in
    --check-writes) check=1; shift ;;
    --no-bus) bus=(); shift ;;
    *) echo "private-session.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
work=$(mktemp -d) || exit 1
xvfb=
cleanup() {
    kill $xvfb 2>/dev/null
    wait $xvfb 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
home=$work/home
mkdir "$home" "$work/tmp"
mkdir -m 700 "$work/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
       XDG_DATA_HOME=$home/.local/share XDG_STATE_HOME=$home/.local/state XDG_RUNTIME_DIR=$work/runtime
[[ -z $check ]] || export TMPDIR=$work/tmp
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r display <"$work/display"
if [[ -z $display ]]; then
    echo "private-session.sh: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
"${bus[@]}" "$@"
status=$?
written=$(cd "$work" && find home tmp -mindepth 1 | head)
if [[ -n $check && -n $written ]]; then
    echo "FAILED: files left in the home or the temporary folder:" $written
    exit 1
fi
exit "$status"
