#!/usr/bin/python3
"""Resident memory of the real program while the sample disc's video plays, session after session:
opened from the catalogue by a double-click, played for a few seconds, closed, opened again.

Run by sessions-in-a-row.sh inside Xvfb and a private D-Bus session:
    sessions_in_a_row.py DISC [ROUNDS]
A smoke run (QUILLON_BENCH_SMOKE=1) plays each session one second.
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from atspi_tree import (application, centre, close_window, click, control, find,  # noqa: E402
                        frame_holding, log, wait_for, x_windows)

DISC = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 8
PLAY_SECONDS = 1 if os.environ.get("QUILLON_BENCH_SMOKE", "0") not in ("", "0") else 4
# The catalogue's list as a screen reader user knows it: by its role and what it is called on screen.
SESSION_LIST = control("tree", "Sessions available on this CD")


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def main():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([os.path.join(DISC, "quillon")], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        app = wait_for("the program", lambda: application(program.pid), 60)
        view = find(wait_for("the catalogue", lambda: frame_holding(app, SESSION_LIST)), SESSION_LIST)
        figures = []
        table = view.queryTable()
        row = next(r for r in range(table.nRows) if table.getAccessibleAt(r, 5).name.endswith("_3.wmv"))
        cell = centre(table.getAccessibleAt(row, 0))
        for round_ in range(1, ROUNDS + 1):
            click(*cell, 2)
            player = wait_for("the player window", lambda: x_windows("Room3 - 12-14-2009"))[0]
            time.sleep(PLAY_SECONDS)
            figures.append(rss_mb(program.pid))
            log(f"session {round_}: {figures[-1]:.1f} MB resident while the video plays")
            close_window(player)
            wait_for("the catalogue", lambda: x_windows("Vantrel Quillon"))
        print(f"first {figures[0]:.1f} MB, median {statistics.median(figures):.1f} MB, "
              f"highest {max(figures):.1f} MB over {ROUNDS} sessions")
    finally:
        program.kill()
        program.wait()


if __name__ == "__main__":
    main()
