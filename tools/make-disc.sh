#!/usr/bin/env bash
# Makes a disc folder that plays on a Linux desktop which has none of the player's libraries:
#
#   tools/make-disc.sh [--quillon EXE] DEST [MEDIA...]
#
# DEST gets the program (`quillon`, which checks the system and starts `.quillon-player`), the MEDIA files given (with the notes documents the player would
# read beside each media file), `qt.conf`, and one folder, quillon-libs/, holding every library and Qt
# plugin the program loads except those a desktop always has (the host list below). Every file there
# finds its libraries by its own run path ($ORIGIN/...), so nothing needs to be set before running.
# EXE is the built program, by default build/catalogue/quillon of this checkout. Needs no display.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$root/build/catalogue/quillon
if [[ ${1:-} == --quillon ]]; then
    exe=${2:?"--quillon needs a file"}
    shift 2
fi
if (($# < 1)); then
    echo "usage: $0 [--quillon EXE] DEST [MEDIA...]" >&2
    exit 2
fi
dest=$1
shift
libdir_name=quillon-libs

# --- The host list: libraries left to the desktop, each with the reason. Everything else is carried.
# A pattern is matched against the library's file name (its soname as the loader looks it up).
host_libraries=(
    # glibc and its parts: the loader and the C library come as one and must match the kernel.
    'ld-linux.*' 'linux-vdso.*' 'libc\.so.*' 'libm\.so.*' 'libpthread\.so.*' 'libdl\.so.*'
    'librt\.so.*' 'libresolv\.so.*' 'libutil\.so.*' 'libanl\.so.*'
    # GL/EGL/GLX dispatch (glvnd): they pick the GPU vendor's driver installed on the host.
    # (glvnd's libOpenGL is carried: not every desktop installs it, and it only forwards to these.)
    'libGL\.so.*' 'libGLX\.so.*' 'libGLdispatch\.so.*' 'libEGL\.so.*' 'libGLESv2\.so.*'
    # Mesa's buffer manager and the kernel's DRM interface: must match the host's drivers and kernel.
    'libgbm\.so.*' 'libdrm\.so.*' 'libdrm_.*'
    # Xlib and the core xcb libraries Mesa's GLX/EGL use: one copy serves the host's driver and us.
    # (libXfixes and xcb-dri2 are carried: Mesa no longer needs them, so newer desktops may lack them.)
    'libX11\.so.*' 'libX11-xcb\.so.*' 'libXext\.so.*' 'libXxf86vm\.so.*' 'libXau\.so.*'
    'libXdmcp\.so.*' 'libxshmfence\.so.*' 'libxcb\.so.*' 'libxcb-glx\.so.*' 'libxcb-dri3\.so.*'
    'libxcb-present\.so.*' 'libxcb-randr\.so.*' 'libxcb-shm\.so.*' 'libxcb-sync\.so.*'
    'libxcb-xfixes\.so.*'
    # Wayland's client and server libraries: Mesa's EGL links them, so one copy must serve both.
    'libwayland-client\.so.*' 'libwayland-server\.so.*'
    # xkbcommon reads the host's keyboard descriptions (xkb-data) and must match them.
    'libxkbcommon\.so.*'
    # fontconfig and FreeType read the host's font configuration and caches, made by their versions.
    'libfontconfig\.so.*' 'libfreetype\.so.*'
    # ALSA loads the host's configuration and plugins (PipeWire's and PulseAudio's bridges), which
    # are built against the host's ALSA: a carried copy breaks sound there. PipeWire, PulseAudio and
    # JACK clients are carried: a bare desktop may lack them, and each only talks to a running server.
    'libasound\.so.*'
    # The C++ runtime: the host's GPU drivers (Mesa, LLVM) are C++ and need the host's own, newest
    # one; a carried older copy would be loaded in its place and the driver would fail to load, so
    # OpenGL would fail. Every desktop with Mesa has it; `quillon` checks it is new enough.
    'libstdc\+\+\.so.*' 'libgcc_s\.so.*'
    # What the libraries above bring with them, so the host has them wherever it has those.
    'libexpat\.so.*' 'libz\.so.*' 'libpng16\.so.*' 'libbrotli.*' 'libbz2\.so.*' 'libbsd\.so.*'
    'libmd\.so.*' 'libglapi\.so.*' 'libffi\.so.*'
)
host_pattern="^($(IFS='|'; echo "${host_libraries[*]}"))\$"
if [[ $dest == --host-list ]]; then # for the disc check: what a library may resolve to outside
    printf '%s\n' "$host_pattern"
    exit 0
fi

# The Qt plugins the program uses: the X11 platform with its GL integrations (without them any
# machine that draws with OpenGL fails) and the SVG pictures.
qt_plugins=(
    platforms/libqxcb.so
    xcbglintegrations/libqxcb-glx-integration.so
    xcbglintegrations/libqxcb-egl-integration.so
    imageformats/libqsvg.so
    iconengines/libqsvgicon.so
)

for tool in ldd patchelf objdump cc; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing; run tools/setup.sh" >&2; exit 1; }
done
[[ -x $exe ]] || { echo "$0: no executable at $exe; build first (see README.md)" >&2; exit 1; }

# resolved FILE: "name path" for every library FILE loads, all the way down.
resolved() {
    local out
    out=$(ldd "$1") || { echo "$0: ldd failed on $1" >&2; return 1; }
    if grep -q 'not found' <<<"$out"; then
        echo "$0: $1 has unresolved libraries:" >&2
        grep 'not found' <<<"$out" >&2
        return 1
    fi
    awk '$2 == "=>" && $3 ~ /^\// {print $1, $3}' <<<"$out"
}

qt_core=$(resolved "$exe" | awk '$1 ~ /^libQt6Core\.so/ {print $2}')
[[ -n $qt_core ]] || { echo "$0: $exe does not load Qt 6" >&2; exit 1; }
plugin_root=$(dirname "$(readlink -f "$qt_core")")/qt6/plugins

rm -rf "$dest/$libdir_name"
mkdir -p "$dest/$libdir_name/plugins"
libdir=$dest/$libdir_name

# The program and the plugins are the roots; each carried library lands once, under the name the
# loader asks for, with its own run path pointing at the folder.
roots=("$exe")
for plugin in "${qt_plugins[@]}"; do
    [[ -f $plugin_root/$plugin ]] || { echo "$0: Qt plugin $plugin_root/$plugin is missing" >&2; exit 1; }
    mkdir -p "$libdir/plugins/$(dirname "$plugin")"
    cp -L "$plugin_root/$plugin" "$libdir/plugins/$plugin"
    roots+=("$plugin_root/$plugin")
done
declare -A carried=() from_host=()
for file in "${roots[@]}"; do
    while read -r name path; do
        if [[ $name =~ $host_pattern ]]; then
            from_host[$name]=1
            continue
        fi
        [[ -n ${carried[$name]:-} ]] && continue
        carried[$name]=1
        cp -L "$path" "$libdir/$name"
    done < <(resolved "$file")
done

chmod -R u+w "$libdir"
for name in "${!carried[@]}"; do
    patchelf --force-rpath --set-rpath '$ORIGIN' "$libdir/$name"
done
for plugin in "${qt_plugins[@]}"; do
    patchelf --force-rpath --set-rpath '$ORIGIN/../..' "$libdir/plugins/$plugin"
done
# The player itself is .quillon-player; `quillon` is a small static program that checks the system
# has the C library and the host libraries the disc needs, says what is missing in a window if not,
# and otherwise becomes the player.
rm -f "$dest/quillon" "$dest/.quillon-player"
cp "$exe" "$dest/.quillon-player"
patchelf --force-rpath --set-rpath "\$ORIGIN/$libdir_name" "$dest/.quillon-player"
versions=$(find "$dest/.quillon-player" "$libdir" -type f -exec objdump -T {} + 2>/dev/null)
glibc=$(grep -o 'GLIBC_2\.[0-9]*' <<<"$versions" | sort -u -V | tail -1)
glibcxx=$(grep -o 'GLIBCXX_3\.4\.[0-9]*' <<<"$versions" | sort -u -V | tail -1)
# The first releases with that C library, for the message on a system too old.
case ${glibc#GLIBC_} in
    2.3[0-6]) desktops="Debian 12, Ubuntu 22.10, Fedora 37 or later" ;;
    2.37) desktops="Debian 13, Ubuntu 23.04, Fedora 38 or later" ;;
    2.38) desktops="Debian 13, Ubuntu 23.10, Fedora 39 or later" ;;
    2.39) desktops="Debian 13, Ubuntu 24.04, Fedora 40 or later" ;;
    2.40) desktops="Debian 13, Ubuntu 24.10, Fedora 41 or later" ;;
    2.41) desktops="Debian 13, Ubuntu 25.04, Fedora 42 or later" ;;
    *) desktops="the release of the system that made the disc or later" ;;
esac
cc -std=c11 -D_GNU_SOURCE -O2 -Wall -Wextra -s -static -o "$dest/quillon" "$root"/tools/disc-start{,-x11,-window}.c \
    -DREQUIRED_GLIBC="\"${glibc#GLIBC_}\"" -DREQUIRED_GLIBCXX="\"${glibcxx#GLIBCXX_}\"" \
    -DDESKTOPS="\"$desktops\"" -DHOST_LIBRARIES="\"$(printf '%s\n' "${!from_host[@]}" |
        grep -v -E '^(ld-linux|linux-vdso)' | sort | tr '\n' ' ')\""

# Qt reads qt.conf beside the program: its plugins come from the folder, never from the build machine.
printf '[Paths]\nPrefix = %s\nPlugins = plugins\n' "$libdir_name" >"$dest/qt.conf"
cp "$root/tools/60-quillon-footpedal.rules" "$dest/" # the pedal's udev rule, whose path the log gives

# The recordings, each media file with the notes documents the player would read for it.
for media in "$@"; do
    [[ -f $media ]] || { echo "$0: no file $media" >&2; exit 1; }
    cp "$media" "$dest/"
    base=${media%.*}
    for notes in "$base.xml" "${base%_*}.xml"; do
        [[ -f $notes ]] && cp "$notes" "$dest/"
    done
done

echo "disc ready in $dest: ${#carried[@]} libraries, $(du -sh "$libdir" | cut -f1) in $libdir_name/"
