#!/usr/bin/env bash
# Installs the Debian 12 or 13 packages that the build, the tests, the benchmarks and the sample disc need.
# Only what is missing is installed; run as root (or through sudo).
set -euo pipefail

packages=(
    # build, and the format check
    cmake ninja-build g++ pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
    libgl1-mesa-dri
    libmpv-dev libpugixml-dev libevdev-dev
    # run time: fonts the windows use
    fonts-liberation
    # the disc's library folder (run paths); the disc check's minimal Debian roots
    patchelf debootstrap
    # tests and benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xfonts-base
    # media fixtures, the sample disc, screenshots, the mpv reference in the benchmarks
    ffmpeg espeak-ng mpv imagemagick
    # end-to-end test: the accessibility bus, a session bus, synthetic input
    python3 python3-pyatspi python3-gi gir1.2-atspi-2.0 at-spi2-core dbus xdotool libx11-6
    # the desktop's media controls, as media keys and the desktop's panel drive them
    playerctl
    # the session bus's X11 autolaunch, as desktop machines have it: the tests must not meet it
    dbus-x11
)

# The fuzz build (tools/fuzz.sh) only: clang and its run-time with libFuzzer and the sanitizers, whose
# package carries the version of the release's default clang (14 on Debian 12, 19 on Debian 13).
case "$(cut -d. -f1 /etc/debian_version 2>/dev/null)" in
    12) clang_version=14 ;;
    13) clang_version=19 ;;
    *) clang_version=$(apt-cache depends clang 2>/dev/null | sed -n 's/.*Depends: clang-\([0-9]*\)$/\1/p' | head -n 1) ;;
esac
packages+=(clang "libclang-rt-${clang_version:-14}-dev")

# Names that differ between releases: Debian 13 moved Qt's SVG plugins out of libqt6svg6.
release=$(. /etc/os-release && echo "${VERSION_ID:-}")
[[ $release == 12 ]] || packages+=(qt6-svg-plugins)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "setup: all ${#packages[@]} packages are installed"
    exit 0
fi

command=(apt-get install -y --no-install-recommends "${missing[@]}")
if ((EUID != 0)); then
    echo "setup: missing packages: ${missing[*]}" >&2
    echo "setup: run as root:  apt-get update && ${command[*]}" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update
"${command[@]}"
