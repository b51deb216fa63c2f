#!/usr/bin/env bash
# Makes (once; later runs reuse it) a minimal Debian root holding only what a bare X11 desktop
# session has: the X client libraries, Mesa's GL, fontconfig with its default font, a sound library.
# No Qt, no mpv, no FFmpeg, no Liberation fonts.
#   make-root.sh DIR SUITE      SUITE: bookworm (Debian 12) or trixie (Debian 13)
set -euo pipefail
dir=$1
suite=$2
mirror=http://deb.debian.org/debian

desktop=(libx11-6 libx11-xcb1 libxext6 libxcb1 libgl1 libegl1 libglx-mesa0 libegl-mesa0
         libgl1-mesa-dri libxkbcommon0 fontconfig libfontconfig1)
case $suite in
    bookworm) desktop+=(libasound2) ;;
    *) desktop+=(libasound2t64) ;;
esac
stamp="$suite ${desktop[*]}"

if [[ -f $dir/.quillon-root && $(cat "$dir/.quillon-root") == "$stamp" ]]; then
    exit 0
fi
rm -rf "$dir"
mkdir -p "$(dirname "$dir")"
log=$dir.log
echo "making the $suite root in $dir (log: $log)"
if ! debootstrap --variant=minbase "$suite" "$dir" "$mirror" >"$log" 2>&1; then
    tail -20 "$log" >&2
    exit 1
fi
if ! chroot "$dir" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${desktop[@]}" >>"$log" 2>&1; then
    tail -20 "$log" >&2
    exit 1
fi
chroot "$dir" apt-get clean
for forbidden in fonts-liberation libqt6core6 libqt6core6t64 libmpv2 libavcodec59 libavcodec61; do
    if chroot "$dir" dpkg-query -W -f='${Status}' "$forbidden" 2>/dev/null | grep -q 'ok installed'; then
        echo "the $suite root has $forbidden, which a bare desktop lacks" >&2
        exit 1
    fi
done
echo "$stamp" >"$dir/.quillon-root"
