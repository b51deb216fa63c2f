#!/usr/bin/python3
"""Drives a disc's quillon running inside a Debian root from the host, through the shared X server:
finds its windows by title and size, reads rows and the clock from the screen, clicks with xdotool.

    drive_disc.py catalogue|single|refused DISC_DIR SHOTS LABEL -- COMMAND...

COMMAND starts the program (in-root.sh under unshare); its exit code must be 0. catalogue: the rows
show, a double-click on the video row opens the player, its clock runs, closing it brings the
catalogue back, closing that ends the program. single: the player opens by itself, its clock runs,
closing it ends the program. refused: a message window names the missing library; the exit code is 1.
"""
import os
import re
import signal
import subprocess
import sys
import time

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
        self.x, self.y = int(shell["X"]), int(shell["Y"])
        self.width, self.height = int(shell["WIDTH"]), int(shell["HEIGHT"])

    def __repr__(self):
        return f"'{self.title}' {self.width}x{self.height}+{self.x}+{self.y}"


def windows():
    found = []
    for wid in xdotool("search", "--onlyvisible", "--name", "").split():
        try:
            found.append(Window(int(wid)))
        except (KeyError, ValueError):
            pass  # gone while we looked
    return found


def catalogue_window():
    return next((w for w in windows() if w.title == CATALOGUE_TITLE and (w.width, w.height) == CATALOGUE_SIZE),
                None)


def player_window():
    return next((w for w in windows() if w.title and w.height > 300), None)  # not the root window


class Screen:
    """The whole X screen as RGB bytes."""

    def __init__(self):
        self.width, self.height = map(int, xdotool("getdisplaygeometry").split())
        self.data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                                   capture_output=True, check=True).stdout
        if len(self.data) != self.width * self.height * 3:
            raise Failure(f"screen capture of {len(self.data)} bytes for {self.width}x{self.height}")

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.data[at:at + 3])

    def crop(self, x, y, width, height):
        rows = [self.data[((y + row) * self.width + x) * 3:((y + row) * self.width + x + width) * 3]
                for row in range(height)]
        return b"".join(rows)


def screenshot(shots, name):
    path = os.path.join(shots, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=False)
    log(f"screenshot {path}")


def row_band(window):
    """Top and height of the selected (first) row: the highlight band down the list's left edge."""
    screen = Screen()
    x = window.x + LIST[0] + 4
    top = bottom = None
    for y in range(window.y + LIST[1], window.y + LIST[1] + LIST[3]):
        r, g, b = screen.pixel(x, y)
        highlighted = b > 150 and r < 120
        if highlighted and top is None:
            top = y
        elif not highlighted and top is not None:
            bottom = y
            break
    if top is None or bottom is None or not 8 <= bottom - top <= 40:
        return None
    return screen, top, bottom - top


def rows_with_text(screen, window, top, height):
    """How many rows below the selected one hold dark text in the location column, then the first
    empty one."""
    count = 1
    while top + (count + 1) * height <= window.y + LIST[1] + LIST[3]:
        y0 = top + count * height
        dark = any(sum(screen.pixel(x, y)) < 250
                   for y in range(y0, y0 + height) for x in range(window.x + LIST[0] + 2, window.x + LIST[0] + 60))
        if not dark:
            break
        count += 1
    return count


def clock_runs(player, shots, label):
    """The clock panel changes twice within a few seconds: the recorded time of day is running."""
    def panel():
        x, y, w, h = CLOCK_PANEL
        return Screen().crop(player.x + x, player.y + y, w, h)

    seen = [panel()]
    deadline = time.monotonic() + 15
    while len(seen) < 3 and time.monotonic() < deadline:
        time.sleep(0.5)
        now = panel()
        if now != seen[-1]:
            seen.append(now)
    screenshot(shots, f"{label}-player")
    if len(seen) < 3:
        raise Failure("the player's clock does not run")
    log("the clock runs")


def close_and_wait_gone(window, what):
    close_window(window.id)
    wait_for(f"{what} to close", lambda: window.id not in [w.id for w in windows()], 20)


def drive_catalogue(disc, shots, label):
    media = [name for name in os.listdir(disc) if MEDIA.search(name)]  # the directory's own order
    video = next(i for i, name in enumerate(media) if name.lower().endswith(".wmv"))
    catalogue = wait_for("the catalogue window", catalogue_window, STARTUP_SECONDS)
    screen, top, height = wait_for("the catalogue's first row, selected", lambda: row_band(catalogue))
    rows = rows_with_text(screen, catalogue, top, height)
    screenshot(shots, f"{label}-catalogue")
    if rows != len(media):
        raise Failure(f"the catalogue shows {rows} rows for {len(media)} media files")
    log(f"the catalogue shows {rows} rows; the video is row {video + 1}")

    x, y = catalogue.x + LIST[0] + 40, top + video * height + height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1"],
                   check=True)
    player = wait_for("the player window", player_window)
    log(f"player window {player}")
    clock_runs(player, shots, label)

    close_and_wait_gone(player, "the player")
    wait_for("the catalogue again", catalogue_window)
    screenshot(shots, f"{label}-catalogue-again")
    close_window(catalogue_window().id)


def drive_single(shots, label):
    player = wait_for("the player window", player_window, STARTUP_SECONDS)
    if catalogue_window() is not None:
        raise Failure("a one-file disc showed the catalogue")
    clock_runs(player, shots, label)
    close_window(player.id)


def drive_refused(shots, label, output_path):
    """The system lacks a library: a message window names it, and no player window opens."""
    window = wait_for("the message window", lambda: next(
        (w for w in windows() if w.title == CATALOGUE_TITLE and (w.width, w.height) != CATALOGUE_SIZE), None),
        STARTUP_SECONDS)
    screenshot(shots, f"{label}-message")
    with open(output_path) as output:
        said = output.read()
    if "libEGL.so.1" not in said:
        raise Failure(f"the message does not name the missing library: {said!r}")
    close_window(window.id)


def main():
    mode, disc, shots, label, dash, *command = sys.argv[1:]
    assert dash == "--" and command
    with open(os.path.join(shots, f"{label}.output.txt"), "w") as output:
        log(f"{label}: starting {' '.join(command)}")
        program = subprocess.Popen(command, stdout=output, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            if mode == "catalogue":
                drive_catalogue(disc, shots, label)
            elif mode == "single":
                drive_single(shots, label)
            else:
                drive_refused(shots, label, output.name)
            code = program.wait(30)
        except (Failure, subprocess.TimeoutExpired) as error:
            screenshot(shots, f"{label}-failure")
            os.killpg(program.pid, signal.SIGKILL)  # the program itself runs a few processes down
            program.wait()
            print(f"FAILED {label}: {error}", flush=True)
            return 1
    if code != (1 if mode == "refused" else 0):
        print(f"FAILED {label}: the program exited with {code}", flush=True)
        return 1
    log(f"{label}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
