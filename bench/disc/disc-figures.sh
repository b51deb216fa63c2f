#!/usr/bin/env bash
# The disc's figures: the size of its library folder (largest parts first), and the time from start
# to the catalogue window, from the disc in a bare Debian 13 root against the same build run with
# the build machine's own libraries, rounds interleaved on one X server. Run as root.
#   bench/disc/disc-figures.sh [QUILLON] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
exe=${1:-$root/build/catalogue/quillon}
rounds=${2:-7}
roots=$root/build/disc-roots

"$root/tests/disc/make-root.sh" "$roots/trixie" trixie
work=$(mktemp -d "$roots/figures.XXXXXX")
xvfb_pid=
cleanup() {
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$root/tools/make-sample-disc.sh" "$work/disc" "$exe" >/dev/null
libs=$work/disc/quillon-libs
echo "== library folder: $(du -sm "$libs" | cut -f1) MB in $(find "$libs" -type f | wc -l) files"
echo "-- by part (MB)"
( cd "$libs" && for f in *.so* plugins/*/*.so; do
    case $f in
        libQt6*|plugins/*) part="Qt 6 and plugins" ;;
        libicu*) part="ICU (Qt's and libxml2's text data)" ;;
        libav*|libsw*|libpostproc*) part="FFmpeg" ;;
        libx265*|libx264*|libcodec2*|libSvtAv1*|libaom*|librav1e*|libdav1d*|libvpx*|libjxl*|libxvid*|libmp3lame*|libopenjp2*|libtheora*|libvorbis*|libopus*|libspeex*|libgsm*|libtwolame*|libshine*|libwebp*|libzvbi*|libsnappy*) part="codecs FFmpeg links" ;;
        librsvg*|libcairo*|libpango*|libgdk_pixbuf*|libharfbuzz*|libgraphite*|libthai*|libdatrie*|libpixman*) part="rsvg, cairo, pango (FFmpeg's SVG decoder, libass)" ;;
        libflite*|libpocketsphinx*|libsphinx*|liblilv*|libserd*|libsord*|libsratom*|libmysofa*|libbs2b*|libvidstab*|librubberband*|libzimg*|libblas*|liblapack*|libgfortran*|libquadmath*|libgomp*) part="filters (speech, LV2, BLAS)" ;;
        libgnutls*|libssl*|libcrypto*|libmbed*|libgcrypt*|libnettle*|libhogweed*|libgmp*|libssh*|libkrb5*|libk5crypto*|libgssapi*|libsrt*|librist*|librabbitmq*|libzmq*|libsodium*|libpgm*|libnorm*|libp11*|libtasn1*|libidn2*|libunistring*) part="network protocols and TLS" ;;
        libstdc++*|libgcc_s*) part="C++ runtime" ;;
        *) part="other" ;;
    esac
    printf '%s\t%s\n' "$(stat -c %s "$f")" "$part"
done | awk -F'\t' '{ size[$2] += $1 } END { for (p in size) printf "%6.1f  %s\n", size[p] / 1048576, p }' | sort -rn )
echo "-- largest files (MB)"
( cd "$libs" && find . -type f -printf '%s %P\n' | sort -rn | head -12 | awk '{ printf "%6.1f  %s\n", $1 / 1048576, $2 }' )

# The same build with the system's libraries: the plain executable beside the same recordings.
mkdir "$work/host"
cp "$exe" "$work/host/quillon"
cp "$work/disc"/*.wm? "$work/disc"/*.xml "$work/host/"

display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -S /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done
export DISPLAY=:$display HOME=$work XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

measure=(/usr/bin/python3 "$here/time_to_catalogue.py" 1 --)
host=("$work/host/quillon")
disc=(unshare --mount --propagation private "$root/tests/disc/in-root.sh" "$roots/trixie" "$DISPLAY"
      "$work/disc" disc "$work/written")
"${measure[@]}" "${host[@]}" >/dev/null # caches warm for both
"${measure[@]}" "${disc[@]}" >/dev/null
: >"$work/host.txt"
: >"$work/disc.txt"
for _ in $(seq "$rounds"); do
    "${measure[@]}" "${host[@]}" >>"$work/host.txt"
    "${measure[@]}" "${disc[@]}" >>"$work/disc.txt"
done
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
host_median=$(median "$work/host.txt")
disc_median=$(median "$work/disc.txt")
echo "== start to catalogue window, median of $rounds (seconds)"
echo "build machine, system libraries:  $host_median   ($(tr '\n' ' ' <"$work/host.txt"))"
echo "disc in a bare Debian 13 root:    $disc_median   ($(tr '\n' ' ' <"$work/disc.txt"))"
awk -v d="$disc_median" -v h="$host_median" 'BEGIN { printf "ratio disc / system:  %.2f\n", d / h }'
