#!/usr/bin/env bash
# The disc check: a disc made by tools/make-disc.sh, run in minimal Debian 12 and Debian 13 roots
# that hold only what a bare X11 desktop has, on an X server of the host.
#   run-disc-check.sh QUILLON SHOTS_DIR ROOTS_DIR
# ROOTS_DIR keeps the roots between runs. In each root: every library of the disc resolves inside
# its folder or to the host list; the catalogue shows its rows, a double-click on the video row plays
# it (drawn with OpenGL) with the clock running, closing returns to the catalogue; a one-file disc
# opens the player (video drawn in memory). The
# discs are mounted read-only at a path with spaces and non-ASCII letters, and nothing is written.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
exe=$1
shots=$2
roots=$3
suites=(bookworm trixie)

if ((EUID != 0)); then
    echo "SKIPPED: the disc check makes Debian roots and mounts in them, which needs root"
    exit 77
fi
if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "SKIPPED: the disc check needs private mount namespaces; in a chroot, bind-mount its root onto itself first"
    exit 77
fi
# The rest on an X server of its own.
[[ -n ${QUILLON_DISC_SCREEN:-} ]] || QUILLON_DISC_SCREEN=1 exec "$root/tests/support/private-session.sh" --no-bus "$0" "$@"
mkdir -p "$shots" "$roots"
rm -f "$shots"/*.png "$shots"/*.txt
for suite in "${suites[@]}"; do
    "$here/make-root.sh" "$roots/$suite" "$suite"
done

work=$(mktemp -d "$roots/work.XXXXXX")
trap 'rm -rf "$work"' EXIT

name="Sitzungen März 2024 – Saal 3"
"$root/tools/make-sample-disc.sh" "$work/$name" "$exe" >"$shots/make-disc.txt"
"$root/tools/make-disc.sh" --quillon "$exe" "$work/Eine Datei" \
    "$work/$name/Hall2_03-02-2010_50400_1.wma" >>"$shots/make-disc.txt"
host_pattern=$("$root/tools/make-disc.sh" --host-list)

# A disc needs the C library it was made against: one made on Debian 13 does not start on Debian 12
# (it says so), so a root older than the disc is skipped, saying why.
needs=$(find "$work/$name/.quillon-player" "$work/$name/quillon-libs" -type f -exec objdump -T {} + 2>/dev/null |
    grep -o 'GLIBC_2\.[0-9]*' | sort -u -V | tail -1)
needs=${needs#GLIBC_}
runnable=()
for suite in "${suites[@]}"; do
    has=$(dpkg-query --admindir="$roots/$suite/var/lib/dpkg" -W -f='${Version}' libc6 | cut -d- -f1)
    if [[ $(printf '%s\n' "$needs" "$has" | sort -V | head -1) != "$needs" ]]; then
        echo "SKIPPED $suite: the disc made here needs glibc $needs, the root has $has (make discs on the oldest system they are for)"
        continue
    fi
    runnable+=("$suite")
done

failed=0
# drive MODE SUITE DISC LABEL: drive_disc.py on a disc (a folder of $work) in a root; nothing may be written.
drive() {
    /usr/bin/python3 "$here/drive_disc.py" "$1" "$work/$3" "$shots" "$4" -- unshare --mount --propagation private \
        "$here/in-root.sh" "$roots/$2" "$DISPLAY" "$work/$3" "$3" "$work/written" || failed=1
    if [[ -s $work/written ]]; then
        echo "FAILED $4: files written:"; cat "$work/written"; failed=1
    fi
}
for suite in "${runnable[@]}"; do
    in_root=(unshare --mount --propagation private "$here/in-root.sh" "$roots/$suite" "$DISPLAY")

    # Every file of the library folder, as the root's own loader resolves it.
    libs='cd "/media/disc" && for f in .quillon-player quillon-libs/*.so* quillon-libs/plugins/*/*.so; do echo "== $f"; ldd "$f"; done'
    "${in_root[@]}" "$work/$name" disc "$work/written" /bin/sh -c "$libs" >"$shots/$suite-ldd.txt" 2>&1 || true
    if ! summary=$(awk -v host="$host_pattern" '
            /^== / { files++; next }
            /not found/ { print "not found: " $0; bad++; next }
            { gsub(/\/\.\//, "/") }
            $2 == "=>" && $3 ~ /^\/media\/disc\/quillon-libs\// { inside++; next }
            $2 == "=>" { if ($1 ~ host) { outside[$1] = 1; next } print "outside the host list: " $0; bad++; next }
            { if ($1 !~ /^(linux-vdso|\/lib64\/ld-linux|statically)/) { print "unexpected: " $0; bad++ } }
            END { n = 0; for (k in outside) n++
                  printf "%d files; %d references inside the folder; %d host libraries\n", files, inside, n
                  exit (bad > 0 || files < 100) }' "$shots/$suite-ldd.txt"); then
        echo "FAILED $suite: libraries resolve wrongly:"
        echo "$summary"
        failed=1
    else
        echo "$suite ldd: $summary"
    fi

    # With a GPU: video through the root's own Mesa and OpenGL. Without: drawn in memory.
    GPU=1 drive catalogue "$suite" "$name" "$suite"
    drive single "$suite" "Eine Datei" "$suite-one-file"
done

exit "$failed"
