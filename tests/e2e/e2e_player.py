#!/usr/bin/python3
"""The real executable on a disc, driven as a user would: read through its accessibility tree,
clicked with synthetic X input, windows closed the way a window manager closes them.

Run by run-e2e.sh inside Xvfb and a private D-Bus session:
    e2e_player.py DISC SINGLE_DISC SHOTS_DIR
"""
import os
import subprocess
import sys
import threading
import time
import xml.etree.ElementTree as ElementTree

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_tree import (Failure, application, centre, click, close_window, control, find, find_showing,  # noqa: E402
                        frame_holding, log, reading, role_of, showing, unnamed_controls, wait_for, walk, x_windows)

DISC, SINGLE, SHOTS = sys.argv[1:4]
STARTUP_SECONDS = 60  # sanitizer builds start slowly on a busy two-core machine
STEP_SECONDS = 30

CATALOGUE_TITLE = "Vantrel Quillon"
VIDEO_WINDOW = r".*_3\.wmv"  # the full-screen video's own window, titled with the file it plays

# The controls as a screen reader user knows them: role and accessible name.
SESSION_LIST = control("tree", "Sessions available on this CD")
CLOCK = control("image", "Recorded time")
FULL_SCREEN = control("push button", "Full Screen")
OVERLAY_TITLE = "Vantrel Player Window"
PLAYER_CONTROLS = [("check box", "ff"), ("check box", "rew"), ("push button", "play"), ("push button", "pause"),
                   ("tree", "Notes"), ("tree", "Session Information"), ("slider", "Speed"),
                   ("label", "Session Information"), ("label", "-  Speed  +"), ("image", "Recorded time"),
                   ("image", "Vantrel Quillon"), ("label", "<"), ("push button", "Stop"), ("check box", "Mute"),
                   ("slider", "Seek"), ("slider", "Volume")]


def screenshot(name):
    subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name + ".png")], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)
    time.sleep(0.2)


# --- The accessibility tree.

def table_rows(view):
    table = view.queryTable()
    return [tuple(table.getAccessibleAt(row, column).name for column in range(table.nColumns))
            for row in range(table.nRows)]


def clock_text(frame):
    """The six digit boxes of the clock panel, each named by the digit it shows."""
    digits = [box.name for box in find(frame, CLOCK) if len(box.name) == 1 and box.name.isdigit()]
    if len(digits) != 6:
        raise Failure(f"expected six clock digits in the recorded-time panel, read {digits!r}")
    return "{}{}:{}{}:{}{}".format(*digits)


def clock_until(frame, what, test, seconds=STEP_SECONDS):
    """Waits for the clock to show a time for which test holds; returns that time."""
    return wait_for(f"the clock {what}", lambda: next(filter(test, [clock_text(frame)]), None), seconds)


def audit(window, role, title, texts, controls, what):
    """The window as a screen reader reads it: its role and title, every control named by what a
    sighted user reads (never by a designed name), every text shown somewhere in the tree. Leaves
    the reading in SHOTS/<what>-tree.txt."""
    lines = reading(window)
    with open(os.path.join(SHOTS, f"{what}-tree.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")
    faults = unnamed_controls(window)
    if (role_of(window), window.name) != (role, title):
        faults.append(f"the window reads as {role_of(window)} {window.name!r}, not {role} {title!r}")
    nodes = [node for _, node in walk(window)]
    spoken = {node.name for node in nodes} | {node.description for node in nodes}
    faults += [f"the text {text!r} is nowhere in the tree" for text in texts if text not in spoken]
    present = {(role_of(node), node.name) for node in nodes}
    faults += [f"no {role} named {name!r}" for role, name in controls if (role, name) not in present]
    if faults:
        raise Failure(f"{what} as a screen reader reads it:\n  " + "\n  ".join(faults)
                      + "\nthe tree:\n" + "\n".join(lines))
    log(f"{what}: {len(lines)} lines in the tree, every control named as it reads")


# --- The program.

class Program:
    """The program of a disc, its output kept beside the screenshots."""

    def __init__(self, disc, label):
        self.output = os.path.join(SHOTS, f"{label}.output.txt")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        with open(self.output, "w") as output:
            self.process = subprocess.Popen([f"{disc}/quillon"], cwd="/", stdout=output, stderr=subprocess.STDOUT,
                                            env=env)
        self.app = wait_for(f"{disc}/quillon on the accessibility bus",
                            lambda: self.ended(None) or application(self.process.pid), STARTUP_SECONDS)

    def ended(self, expected):
        """Fails unless the program's exit code is as expected (None: it runs)."""
        code = self.process.poll()
        if code != expected:
            with open(self.output) as output:
                raise Failure(f"the program's exit code is {code}, not {expected}; its output:\n{output.read()}")

    def stop(self):
        self.process.kill()  # nothing if it has ended
        self.process.wait()


def brightness(width, height, x, y):
    """Mean grey level of a part of the screen, 0 (black) to 1."""
    mean = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-colorspace",
                           "gray", "-format", "%[fx:mean]", "info:"], capture_output=True, text=True).stdout
    return float(mean or 0)


def picture_filling_the_screen():
    """The 320x240 picture scaled up to the screen's width, keeping its shape (1280x960): lit at the left
    and right edges, the bands above and below it black."""
    return (brightness(8, 800, 0, 112) > 0.05 and brightness(8, 800, 1272, 112) > 0.05
            and brightness(1280, 28, 0, 0) < 0.01 and brightness(1280, 28, 0, 996) < 0.01)


def full_screen_and_back(app, frame):
    """Full screen fills the screen with the picture, keeping its shape, in a window a screen reader reads
    as one; Escape, then a double-click, bring it back into the player window."""
    for leave in ("Escape", "double-click"):
        click(*centre(wait_for("the full-screen button", lambda: find_showing(frame, FULL_SCREEN))))
        wait_for("the full-screen video window", lambda: x_windows(VIDEO_WINDOW))
        wait_for("the picture filling the screen, keeping its shape", picture_filling_the_screen)
        screenshot("2b-full-screen")
        wait_for("the full-screen video read as a window named Video",
                 lambda: any((role_of(w), w.name) == ("frame", "Video") and showing(w) for w in app))
        if leave == "Escape":
            key("Escape")
        else:
            click(640, 512, 2)
        wait_for(f"{leave} to leave full screen", lambda: not x_windows(VIDEO_WINDOW))
        log(f"full screen and back by {leave}")


def audit_player(frame):
    """The player window with notes: its dates, times and headings are read out, all its controls by
    their captions; the media bar's status and the recorded-time panel say what they show."""
    finished = ElementTree.parse(os.path.join(DISC, "Room3_12-14-2009_34200.xml")).getroot().findtext("finished")
    texts = ["Room3 - 12-14-2009", "Session Information", "-  Speed  +", "Monday, December 14, 2009",
             "09:30:00 AM", finished]
    wait_for("the full-screen button", lambda: find_showing(frame, FULL_SCREEN))
    audit(frame, "frame", "Room3 - 12-14-2009", texts, PLAYER_CONTROLS + [("push button", "Full Screen")], "player")
    status = find_showing(frame, lambda node: node.description == "Status")
    if status is not None and status.name in ("", "Status"):
        raise Failure(f"the media bar's status reads as {status.name!r}, not its message")
    wait_for("the recorded-time panel to describe the time its digits show",
             lambda: find(frame, CLOCK).description.split(" ")[0] == clock_text(frame), 5)


def keyboard(window, frame):
    """The transport from the keyboard alone: Tab walks the designed order from the control that has
    focus when the window opens; Space and Enter press the focused control (the scan box reads checked,
    the media bar's button tells paused from playing); the arrows move the speed."""
    def focus(role, name):  # the one control that has focus
        return lambda: [(role_of(n), n.name) for _, n in walk(frame)
                        if n.getState().contains(pyatspi.STATE_FOCUSED)] == [(role, name)]

    def ff_checked(checked):
        return lambda: find(frame, control("check box", "ff")).getState().contains(pyatspi.STATE_CHECKED) == checked

    def bar_offers(name):
        return lambda: find_showing(frame, control("push button", name))

    def speed(value):
        return lambda: find(frame, control("slider", "Speed")).queryValue().currentValue == value

    steps = [  # the key pressed, what follows
        (None, "ff focused", focus("check box", "ff")),
        ("space", "ff checked", ff_checked(True)),
        ("Return", "ff unchecked", ff_checked(False)),
        ("Tab", "rew focused", focus("check box", "rew")),
        ("Tab", "play focused", focus("push button", "play")),
        ("Tab", "pause focused", focus("push button", "pause")),
        ("space", "the media bar offering Play", bar_offers("Play")),
        ("shift+Tab", "play focused", focus("push button", "play")),
        ("Return", "the media bar offering Pause", bar_offers("Pause")),
        ("Tab", "pause focused", focus("push button", "pause")),
        ("Tab", "Full Screen focused", focus("push button", "Full Screen")),
        ("Tab", "Notes focused", focus("tree", "Notes")),
        ("Tab", "Session Information focused", focus("tree", "Session Information")),
        ("Tab", "Speed focused", focus("slider", "Speed")),
    ] + [(arrow, f"the speed at {value}", speed(value)) for arrow, value in (("Right", 2), ("Left", 1),
                                                                             ("Left", 0), ("Right", 1))]
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], check=True)
    for pressed, what, probe in steps:
        if pressed:
            key(pressed)
        wait_for(f"{what} after {pressed}", probe, 5)
    log("the transport works from the keyboard in the designed tab order")


def overlay_mode(app, frame):
    """A click on the logo holds the window on top and says so in an alert a screen reader reads;
    its button closes it. A second click turns overlay mode off again."""
    for state in ("ON", "OFF"):
        click(*centre(find(frame, control("image", "Vantrel Quillon"))))
        dialog = wait_for(f"the overlay {state} message",
                          lambda: next((w for w in app if w.name == OVERLAY_TITLE and showing(w)), None))
        audit(dialog, "alert", OVERLAY_TITLE, [f"Overlay mode is {state}"], [("push button", "OK")],
              f"overlay-{state.lower()}-message")
        # Closed by its button: a key that closes the box leaves Qt's accessibility bridge holding a
        # copy of the key's release for a button that is gone, which it never frees.
        click(*centre(find(dialog, control("push button", "OK"))))
        wait_for("the message to close", lambda: not showing(dialog) or dialog.name != OVERLAY_TITLE, 10)
    log("overlay mode on and off, both messages read")


def check_playing(app, title, first, last, pm):
    """The player window shows with its title and its clock runs inside the recording
    (first and last are the six digits as the clock shows them, 12-hour)."""
    window = wait_for(f"a window titled {title!r}", lambda: x_windows(title))[0]
    frame = wait_for("the player window in the accessibility tree", lambda: frame_holding(app, CLOCK))
    start = clock_until(frame, "to show a time of the recording", lambda shown: first <= shown <= last)
    later = clock_until(frame, "to move on", lambda shown: shown != start)
    if not first <= later <= last:
        raise Failure(f"the clock went from {start} to {later}, outside {first} to {last}")
    if bool(find_showing(frame, control("label", "PM"))) != pm:
        raise Failure(f"the PM marker is {'hidden' if pm else 'showing'} at {later}")
    log(f"the clock runs: {start} then {later}{' PM' if pm else ''}")
    return window, frame


def clock_follows_the_bar(frame, start):
    """The clock shows the recording's start (seconds of the day) plus the media bar's elapsed time. The
    clock follows the player as it moves and the bar every 250 ms, so the clock may read a second ahead
    of the bar; a second behind only now and then (the bar rounds to the millisecond), never mostly."""
    def face(seconds):
        return f"{(seconds // 3600 - 1) % 12 + 1:02d}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"
    seek = find(frame, control("slider", "Seek")).queryValue()
    wait_for("the bar past its first seconds", lambda: seek.currentValue >= 2000)
    lags = []
    for _ in range(8):
        shown = clock_text(frame)
        elapsed = int(seek.currentValue // 1000)
        if clock_text(frame) == shown:
            lag = next((lag for lag in (0, 1, -1) if face(start + elapsed - lag) == shown), None)
            if lag is None:
                raise Failure(f"the clock reads {shown} while the bar is at {elapsed} s")
            lags.append(lag)
        clock_until(frame, "to move on", lambda now: now != shown, 5)
    if 0 not in lags or lags.count(1) > len(lags) // 4:
        raise Failure(f"the clock is not the start plus the bar's time: it lags it by {lags} s")
    log(f"the clock follows the bar (lagging it by {lags} s)")


def catalogue_and_player():
    program = Program(DISC, "catalogue")
    try:
        app = program.app
        catalogue = wait_for("the catalogue window", lambda: x_windows(CATALOGUE_TITLE))[0]
        frame = wait_for("the catalogue's controls", lambda: frame_holding(app, SESSION_LIST))
        view = find(frame, SESSION_LIST)
        rows = wait_for("the catalogue's rows", lambda: table_rows(view))
        # A row for each recording on the disc, read cell by cell (the catalogue's own tests check the
        # columns' texts).
        media = sorted(name for name in os.listdir(DISC) if name.endswith((".wma", ".wmv")))
        if sorted(row[5] for row in rows) != media:
            raise Failure(f"the catalogue reads {rows} for {media}")
        screenshot("1-catalogue")
        audit(frame, "frame", CATALOGUE_TITLE, [CATALOGUE_TITLE, "Sessions available on this CD"],
              [("tree", "Sessions available on this CD"), ("label", "Double-Click to Play")], "catalogue")

        # Open the video recording, whose clock is burnt into the picture too.
        index = next(i for i, row in enumerate(rows) if row[5].endswith("_3.wmv"))
        click(*centre(view.queryTable().getAccessibleAt(index, 0)), 2)
        player, frame = check_playing(app, "Room3 - 12-14-2009", "09:30:00", "09:31:20", pm=False)
        if x_windows(CATALOGUE_TITLE):
            raise Failure("the catalogue is still visible while the player window shows")
        screenshot("2-player-video")
        audit_player(frame)
        keyboard(player, frame)
        overlay_mode(app, frame)
        # Overlay mode gives the player a new X window (its flags changed).
        player = wait_for("the player window after overlay mode", lambda: x_windows("Room3 - 12-14-2009"))[0]
        full_screen_and_back(app, frame)

        wait_for("the player on the session bus", lambda: "quillon" in players(), 5)
        close_window(player)
        wait_for("the catalogue to come back", lambda: x_windows(CATALOGUE_TITLE))
        wait_for("the player window to go", lambda: not x_windows("Room3 - 12-14-2009"))
        wait_for("the player to leave the session bus", lambda: "quillon" not in players(), 5)

        # A second session from the same catalogue, opened by Return: the afternoon meeting, audio only.
        index = next(i for i, row in enumerate(table_rows(view)) if row[0] == "Hall2")
        click(*centre(view.queryTable().getAccessibleAt(index, 0)))
        wait_for("the Hall2 row to be selected", lambda: view.queryTable().isRowSelected(index), 5)
        key("Return")
        player, frame = check_playing(app, "Hall2 - 03-02-2010", "02:00:00", "02:01:20", pm=True)
        screenshot("4-player-audio")
        close_window(player)
        wait_for("the catalogue to come back", lambda: x_windows(CATALOGUE_TITLE))

        close_window(catalogue)
        program.process.wait(STEP_SECONDS)
        program.ended(0)
    finally:
        program.stop()


def playerctl(*args):
    """The desktop's media controls, as a media key or the desktop's panel uses them."""
    return subprocess.run(["playerctl", "-p", "quillon", *args], capture_output=True, text=True,
                          timeout=STEP_SECONDS).stdout.strip()


def players():
    return subprocess.run(["playerctl", "-l"], capture_output=True, text=True).stdout.split()


def media_keys(frame):
    """playerctl reads the player's title and status, pauses it, sets its position and plays it (the
    clock shows the engine's moves); the desktop, following the player's status signals, is told when
    the window's own buttons change it. A second player takes its own instance name."""
    if (playerctl("status"), playerctl("metadata", "xesam:title")) != ("Playing", "HALL2 - 03-02-2010"):
        raise Failure(f"playerctl reads {playerctl('status')!r} {playerctl('metadata')!r}")
    following = subprocess.Popen(["playerctl", "-p", "quillon", "--follow", "status"], stdout=subprocess.PIPE,
                                 text=True)
    told = []
    threading.Thread(target=lambda: told.extend(iter(following.stdout.readline, "")), daemon=True).start()
    try:
        playerctl("pause")
        wait_for("the media bar to offer Play after playerctl pause",
                 lambda: find_showing(frame, control("push button", "Play")), 5)
        playerctl("position", "30")
        playerctl("play")
        at = clock_until(frame, "at 02:00:30 after playerctl position 30",
                         lambda shown: "02:00:30" <= shown <= "02:00:33", 5)
        clock_until(frame, "to move on after playerctl play", lambda shown: shown != at, 5)
        for button, status in (("pause", "Paused"), ("play", "Playing")):
            since = len(told)
            click(*centre(find(frame, control("push button", button))))
            wait_for(f"the desktop to be told {status}", lambda: f"{status}\n" in told[since:], 10)
    finally:
        following.kill()
        following.wait()
    second = Program(SINGLE, "single-2")
    try:
        wait_for("a second player under its own instance name",
                 lambda: {"quillon", f"quillon.instance{second.process.pid}"} <= set(players()))
    finally:
        second.stop()
    log("playerctl pauses, plays and seeks the player and hears its own buttons")


def single_file_disc():
    """A disc of one recording opens the player at once. Its names are upper case, as discs burned
    to CD carry them: the notes document is read all the same, and a double-click on the notes list
    below its rows jumps to the selected note."""
    program = Program(SINGLE, "single")
    try:
        player, frame = check_playing(program.app, "HALL2 - 03-02-2010", "02:00:00", "02:01:20", pm=True)
        clock_follows_the_bar(frame, 14 * 3600)
        if x_windows(CATALOGUE_TITLE):
            raise Failure("the catalogue shows although the disc holds one file")
        media_keys(frame)
        header = table_rows(find(frame, control("tree", "Session Information")))
        notes = find(frame, control("tree", "Notes"))
        rows = table_rows(notes)
        if ("Meeting", "Planning interview") not in header or [r[2] for r in rows] != ["Opened", "Oak tree kept"]:
            raise Failure(f"the upper-case notes document was not read: header {header}, notes {rows}")
        click(*centre(notes.queryTable().getAccessibleAt(1, 2)))
        wait_for("the second note to be selected", lambda: notes.queryTable().isRowSelected(1), 5)
        before = clock_text(frame)
        box = notes.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        click(box.x + box.width // 2, box.y + box.height - 8, 2)
        clock_until(frame, f"to jump from {before} to the note at 02:00:50",
                    lambda shown: "02:00:50" <= shown <= "02:00:53", 5)
        log(f"a double-click below the notes jumped from {before} to {clock_text(frame)}")
        screenshot("5-single-file")
        close_window(player)
        program.process.wait(STEP_SECONDS)
        program.ended(0)
    finally:
        program.stop()


def main():
    os.makedirs(SHOTS, exist_ok=True)
    try:
        catalogue_and_player()
        single_file_disc()
    except (Failure, subprocess.TimeoutExpired) as failure:
        screenshot("failure")
        log(f"FAILED: {failure}")
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
