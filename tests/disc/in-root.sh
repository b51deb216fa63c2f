#!/usr/bin/env bash
# Runs a disc's quillon inside a Debian root as a desktop user would, on the host's X server, with
# the root and the disc read-only and a fresh home and /tmp. Run in a private mount namespace:
#   unshare --mount --propagation private in-root.sh ROOT DISPLAY DISC_DIR MOUNT_NAME WRITTEN [COMMAND...]
# DISC_DIR is mounted read-only at /media/MOUNT_NAME in the root. Files the program leaves in the
# home or in /tmp are listed in WRITTEN (on the host). Exits with the program's exit code. COMMAND,
# if given, runs in the root instead of the disc's quillon. GPU: see /dev below.
set -euo pipefail
root=$1
display=$2
disc=$3
name=$4
written=$5
shift 5
(($#)) || set -- "/media/$name/quillon"

mkdir -p "$root/media/$name"
mount --bind "$root" "$root"
mount --bind -o remount,ro "$root" "$root"
mount -t proc proc "$root/proc"
# The devices a desktop program uses; with GPU set, a render node as well (an empty device), so the
# player draws video with OpenGL through the root's own Mesa.
mount -t tmpfs -o mode=755 tmpfs "$root/dev"
for device in null zero full random urandom tty; do
    touch "$root/dev/$device"
    mount --bind "/dev/$device" "$root/dev/$device"
done
mkdir "$root/dev/shm" "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
if [[ -n ${GPU:-} ]]; then
    mkdir "$root/dev/dri"
    touch "$root/dev/dri/renderD128"
    mount --bind /dev/null "$root/dev/dri/renderD128"
fi
mount -t tmpfs tmpfs "$root/tmp"
mount -t tmpfs tmpfs "$root/home"
mount --bind -o ro "$disc" "$root/media/$name"
mount --bind -o remount,ro "$root/media/$name"
mkdir -p "$root/tmp/.X11-unix" "$root/home/user"
mkdir -m 700 "$root/tmp/runtime-user"
touch "$root/tmp/.X11-unix/X${display#:}"
mount --bind "/tmp/.X11-unix/X${display#:}" "$root/tmp/.X11-unix/X${display#:}"

status=0
chroot "$root" /usr/bin/env -i DISPLAY="$display" HOME=/home/user LANG=C.UTF-8 PATH=/usr/bin:/bin \
    XDG_RUNTIME_DIR=/tmp/runtime-user "$@" || status=$?
(cd "$root" && find home tmp -mindepth 1 -not -path 'home/user' -not -path 'tmp/.X11-unix*' \
    -not -path 'tmp/runtime-user') >"$written" || true
exit "$status"
