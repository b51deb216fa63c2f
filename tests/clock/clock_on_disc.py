#!/usr/bin/python3
"""The clock of the real player window on the sample disc: while a session plays, the six digits
read the recording's start plus the elapsed time of the player's own bar, and after a double-click
on a note the clock moves to that note's time.

Run by run-clock-on-disc.sh inside Xvfb and a private D-Bus session:
    clock_on_disc.py DISC [SHOT.png]
"""
import os
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_tree import (Failure, application, centre, control, double_click, find, frame_holding,  # noqa: E402
                        log, wait_for)
import atspi_tree  # noqa: E402

DISC = sys.argv[1]
SHOT = sys.argv[2] if len(sys.argv) > 2 else None
TIMEOUT = 60
SESSION = "Hall2"           # Hall2_03-02-2010_50400_1.wma
START = 14 * 3600           # its start field, 50400 s
SAMPLES = 12
atspi_tree.DEFAULT_SECONDS = TIMEOUT
# The controls as a screen reader user knows them: role and accessible name.
SESSION_LIST = control("tree", "Sessions available on this CD")
CLOCK = control("image", "Recorded time")
PM_MARKER = control("label", "PM")
SEEK = control("slider", "Seek")
NOTES = control("tree", "Notes")


def clock_seconds(panel, marker):
    """The clock as seconds of the day, read from the six digit boxes and the PM marker."""
    digits = [panel.getChildAtIndex(i).name for i in range(panel.childCount)]
    digits = [d for d in digits if len(d) == 1 and d.isdigit()]
    if len(digits) != 6:
        raise Failure(f"expected six clock digits, read {digits!r}")
    h, m, s = (int(digits[i] + digits[i + 1]) for i in (0, 2, 4))
    pm = marker.getState().contains(pyatspi.STATE_SHOWING)
    return (h % 12 + (12 if pm else 0)) * 3600 + m * 60 + s


def day_seconds(text):
    """Seconds of the day of a note's "hh:mm:ss AM" text."""
    clock, half = text.split()
    h, m, s = (int(x) for x in clock.split(":"))
    return (h % 12 + (12 if half == "PM" else 0)) * 3600 + m * 60 + s


def hms(seconds):
    return f"{seconds // 3600 % 24:02d}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"


def main():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([os.path.join(DISC, "quillon")], cwd="/", env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    try:
        app = wait_for("the program on the accessibility bus", lambda: application(program.pid))
        catalogue = wait_for("the catalogue", lambda: frame_holding(app, SESSION_LIST))
        table = find(catalogue, SESSION_LIST).queryTable()
        # rows come in the file system's order, so the row may well be the first: index 0
        row = wait_for(f"the {SESSION} row", lambda: next(
            ([r] for r in range(table.nRows) if table.getAccessibleAt(r, 0).name == SESSION), None))[0]
        double_click(*centre(table.getAccessibleAt(row, 0)))

        player = wait_for("the player window", lambda: frame_holding(app, CLOCK))
        panel, marker = find(player, CLOCK), find(player, PM_MARKER)
        seek = wait_for("the player's seek bar", lambda: find(player, SEEK)).queryValue()
        wait_for("playback past its first seconds", lambda: seek.currentValue >= 2000)

        exact = 0
        for _ in range(SAMPLES):
            # The clock read on both sides of the bar, so the pair belongs to one tick.
            before = clock_seconds(panel, marker)
            elapsed = int(seek.currentValue // 1000)
            after = clock_seconds(panel, marker)
            if before != after:
                continue
            lag = START + elapsed - before
            log(f"clock {hms(before)}, start {hms(START)} + bar {elapsed} s = {hms(START + elapsed)}")
            if not 0 <= lag <= 1:
                raise Failure(f"the clock reads {hms(before)} while the bar is at {elapsed} s")
            exact += lag == 0
            time.sleep(0.37)
        if exact == 0:
            raise Failure("the clock never read exactly the start plus the bar's time")
        log(f"the clock follows the bar ({exact} of {SAMPLES} readings exact, the rest one tick behind)")
        if SHOT:
            subprocess.run(["import", "-window", "root", SHOT], check=False)

        # A jump to a later note: playback moves there and the clock follows at the next tick.
        notes = find(player, NOTES).queryTable()
        times = [day_seconds(notes.getAccessibleAt(r, 0).name) for r in range(notes.nRows)]
        log(f"notes at {', '.join(hms(t) for t in times)}")
        now = clock_seconds(panel, marker)
        row = next((r for r, t in enumerate(times) if now + 10 <= t <= START + 50), None)
        if row is None:
            raise Failure("no note to jump to")
        note_time = times[row]
        double_click(*centre(notes.getAccessibleAt(row, 0)))
        wait_for(f"the clock at the note's time {hms(note_time)}",
                 lambda: 0 <= clock_seconds(panel, marker) - note_time <= 2, 10)
        log(f"after the jump to the note at {hms(note_time)} the clock reads {hms(clock_seconds(panel, marker))}, "
            f"the bar {int(seek.currentValue // 1000)} s")
    finally:
        program.kill()
        program.wait()


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"FAILED: {failure}", flush=True)
        sys.exit(1)
