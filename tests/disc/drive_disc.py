#!/usr/bin/python3
"""Drives a disc's quillon running inside a Debian root from the host, through the shared X server:
finds its windows by title and size, reads rows and the clock from the screen, clicks with xdotool.

    drive_disc.py catalogue|single DISC_DIR SHOTS LABEL -- COMMAND...

COMMAND starts the program (in-root.sh under unshare); its exit code must be 0. catalogue: the rows
show, a double-click on the video row opens the player, its clock runs, closing it brings the
catalogue back, closing that ends the program. single: the player opens by itself, its clock runs,
closing it ends the program. (The starter's refusal is start_test.py's; that a one-file disc shows no
catalogue, the end-to-end run's.)
"""
import os
import re
import signal
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_tree import Failure, close_window, log, wait_for  # noqa: E402

STARTUP_SECONDS = 60
CATALOGUE_TITLE = "Vantrel Quillon"
CATALOGUE_SIZE = (412, 203)
LIST = (9, 27, 394, 148)        # the catalogue's session list inside its window: x, y, width, height
CLOCK_PANEL = (369, 42, 262, 72)  # the player's clock panel inside its window
MEDIA = re.compile(r"\.wm.?$", re.IGNORECASE)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


class Window:
    def __init__(self, wid):
        self.id = wid
        self.title = xdotool("getwindowname", str(wid)).strip()
        shell = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", str(wid)).split())
        self.x, self.y, self.width, self.height = (int(shell[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def windows():
    found = []
    for wid in xdotool("search", "--onlyvisible", "--name", "").split():
        try:
            found.append(Window(int(wid)))
        except (KeyError, ValueError):
            pass  # gone while we looked
    return found


def window(what, test, seconds=30):
    return wait_for(what, lambda: next((w for w in windows() if test(w)), None), seconds)


def is_catalogue(w):
    return w.title == CATALOGUE_TITLE and (w.width, w.height) == CATALOGUE_SIZE


def grab(window, x, y, width, height):
    """A part of the window on the screen, as lines of RGB bytes."""
    data = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{window.x + x}+{window.y + y}",
                           "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    return [data[line * width * 3:(line + 1) * width * 3] for line in range(height)]


def screenshot(shots, name):
    subprocess.run(["import", "-window", "root", os.path.join(shots, name + ".png")], check=False)


def catalogue_rows(catalogue):
    """The band of the selected (first) row down the list's left edge, and how many rows from it on
    hold dark text in the location column: (top inside the list, row height, rows)."""
    strip = grab(catalogue, LIST[0], LIST[1], 60, LIST[3])
    lit = [line[14] > 150 and line[12] < 120 for line in strip]  # blue at 4 pixels in
    dark = [any(sum(line[at:at + 3]) < 250 for at in range(6, 180, 3)) for line in strip]
    if True not in lit or False not in lit[lit.index(True):]:
        return None
    top = lit.index(True)
    height = lit.index(False, top) - top
    if not 8 <= height <= 40:
        return None
    count = 1
    while top + (count + 1) * height <= LIST[3] and any(dark[top + count * height:top + (count + 1) * height]):
        count += 1
    return top, height, count


def clock_runs(player, shots, label):
    """The clock panel shows three different pictures within a few seconds: the recorded time runs."""
    seen = set()
    wait_for("the player's clock to run", lambda: seen.add(b"".join(grab(player, *CLOCK_PANEL))) or len(seen) >= 3,
             15, 0.5)
    screenshot(shots, f"{label}-player")
    log("the clock runs")


def open_from_catalogue(disc, shots, label):
    media = [name for name in os.listdir(disc) if MEDIA.search(name)]  # the directory's own order
    video = next(i for i, name in enumerate(media) if name.lower().endswith(".wmv"))
    catalogue = window("the catalogue window", is_catalogue, STARTUP_SECONDS)
    top, height, rows = wait_for("the catalogue's first row, selected", lambda: catalogue_rows(catalogue))
    screenshot(shots, f"{label}-catalogue")
    if rows != len(media):
        raise Failure(f"the catalogue shows {rows} rows for {len(media)} media files")
    log(f"the catalogue shows {rows} rows; the video is row {video + 1}")

    x, y = catalogue.x + LIST[0] + 40, catalogue.y + LIST[1] + top + video * height + height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1"],
                   check=True)


def drive(mode, disc, shots, label):
    if mode == "catalogue":
        open_from_catalogue(disc, shots, label)
    player = window("the player window", lambda w: w.title and w.height > 300, STARTUP_SECONDS)  # not the root
    log(f"player window {player.title!r}")
    clock_runs(player, shots, label)
    close_window(player.id)
    if mode == "catalogue":
        wait_for("the player to close", lambda: player.id not in [w.id for w in windows()], 20)
        close_window(window("the catalogue again", is_catalogue).id)


def main():
    mode, disc, shots, label, _, *command = sys.argv[1:]
    with open(os.path.join(shots, f"{label}.output.txt"), "w") as output:
        program = subprocess.Popen(command, stdout=output, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            drive(mode, disc, shots, label)
            code = program.wait(30)
        except (Failure, subprocess.TimeoutExpired) as error:
            screenshot(shots, f"{label}-failure")
            os.killpg(program.pid, signal.SIGKILL)  # the program itself runs a few processes down
            program.wait()
            print(f"FAILED {label}: {error}", flush=True)
            return 1
    if code != 0:
        print(f"FAILED {label}: the program exited with {code}", flush=True)
        return 1
    log(f"{label}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
