#!/usr/bin/env bash
# The end-to-end test: makes the sample disc and a one-file disc around the built executable, then
# drives the program on a virtual screen with its own session bus and accessibility bus.
#   run-e2e.sh QUILLON SHOTS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
exe=$1
shots=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -f "$shots"/*.png "$shots"/*.txt

"$root/tools/make-sample-disc.sh" "$work/disc" "$exe" >/dev/null
# The one-file disc is burned with upper-case names, its recording beside the shared notes document,
# which holds few notes: the list has room below them.
cp "$work/disc/Hall2_03-02-2010_50400_1.wma" "$work/HALL2_03-02-2010_50400_1.WMA"
"$root/tools/make-disc.sh" --quillon "$exe" "$work/single" "$work/HALL2_03-02-2010_50400_1.WMA" >/dev/null
cat >"$work/single/HALL2_03-02-2010_50400.XML" <<'EOF'
<session><header><items><item name="Meeting" value="Planning interview"/></items></header>
<duration>0:01:06</duration><started>2:00:00 PM</started><finished>2:01:06 PM</finished>
<notes><note><time>14:00:02</time><speaker>Interviewer</speaker><text>Opened</text></note>
<note><time>14:00:50</time><speaker>Architect</speaker><text>Oak tree kept</text></note></notes></session>
EOF

# Nothing at all may be written in the home or the temporary folder.
"$root/tests/support/private-session.sh" --check-writes \
    /usr/bin/python3 "$here/e2e_player.py" "$work/disc" "$work/single" "$shots"
