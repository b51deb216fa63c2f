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
from atspi_tree import (Announcements, Failure, application, centre, click, close_window, control, double_click,  # noqa: E402
                        find, frame_holding, log, reading, role_of, showing, unnamed_controls, wait_for,
                        walk, x_windows)
import atspi_tree  # noqa: E402

DISC, SINGLE, SHOTS = sys.argv[1:4]
STARTUP_SECONDS = 60  # sanitizer builds start slowly on a busy two-core machine
STEP_SECONDS = 30
atspi_tree.DEFAULT_SECONDS = STEP_SECONDS

CATALOGUE_TITLE = "Vantrel Quillon"
# The sample disc, as the catalogue must list it (row order is the directory's own).
EXPECTED_ROWS = {
    ("Room3", "12-14-2009", "09:30:00 AM", "2", "No", "Room3_12-14-2009_34200_1.wma"),
    ("Room3", "12-14-2009", "09:30:00 AM", "4", "No", "Room3_12-14-2009_34200_2.wma"),
    ("Room3", "12-14-2009", "09:30:00 AM", "0", "Yes", "Room3_12-14-2009_34200_3.wmv"),
    ("Hall2", "03-02-2010", "02:00:00 PM", "2", "No", "Hall2_03-02-2010_50400_1.wma"),
}


# The controls as a screen reader user knows them: role and accessible name.
SESSION_LIST = control("tree", "Sessions available on this CD")
CLOCK = control("image", "Recorded time")
NOTES = control("tree", "Notes")
FULL_SCREEN = control("push button", "Full Screen")
PM_MARKER = control("label", "PM")
LOGO = control("image", "Vantrel Quillon")
OVERLAY_TITLE = "Vantrel Player Window"
PLAYER_CONTROLS = [("check box", "ff"), ("check box", "rew"), ("push button", "play"),
                   ("push button", "pause"), ("tree", "Notes"), ("tree", "Session Information"),
                   ("slider", "Speed"), ("label", "Session Information"), ("label", "-  Speed  +"),
                   ("image", "Recorded time"), ("image", "Vantrel Quillon"), ("label", "<"),
                   ("push button", "Stop"), ("check box", "Mute"), ("slider", "Seek"),
                   ("slider", "Volume")]
# The designed keyboard order of the player window, from the control that has focus when it opens.
TAB_ORDER = [("check box", "ff"), ("check box", "rew"), ("push button", "play"), ("push button", "pause"),
             ("push button", "Full Screen"), ("tree", "Notes"), ("tree", "Session Information"),
             ("slider", "Speed")]
# Internal names of the designed layout, which a screen reader must never speak.
DESIGNED_NAMES = {"frmSessions", "lvSessions", "Label1", "Label2", "frmMain", "MPlayer", "lblMin", "picMain",
                  "picClockFrame", "chkScanBack", "cmbPause", "cmbPlay", "chkScanForward", "lvData", "sldRate",
                  "cmbFullScreen", "lvNotes", "txtButtons", "lblSessionDate", "lblDate", "Picture3",
                  "Picture4", "lblPM", "lblStartTime", "lblEndTime"} | {f"picClock({i})" for i in range(6)}


def screenshot(name):
    path = os.path.join(SHOTS, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log(f"screenshot {path}")


# --- The accessibility tree.

def table_rows(view):
    table = view.queryTable()
    rows = []
    for row in range(table.nRows):
        rows.append(tuple(table.getAccessibleAt(row, column).name for column in range(table.nColumns)))
    headers = [table.getColumnHeader(column).name if table.getColumnHeader(column) else ""
               for column in range(table.nColumns)]
    return headers, rows


def clock_text(frame):
    """The six digit boxes of the clock panel, read by their accessible names (the digit shown)."""
    panel = find(frame, CLOCK)
    if panel is None:
        raise Failure("no recorded-time panel in the player window")
    digits = [panel.getChildAtIndex(i).name for i in range(panel.childCount)]
    digits = [d for d in digits if len(d) == 1 and d.isdigit()]
    if len(digits) != 6:
        raise Failure(f"expected six clock digits in the recorded-time panel, read {digits!r}")
    return "{}{}:{}{}:{}{}".format(*digits)


def audit(window, role, title, texts, controls, what):
    """The window as a screen reader reads it: its role and title, every control named by what a
    sighted user reads (never by a designed name), every text shown somewhere in the tree. Leaves
    the reading in SHOTS/<what>-tree.txt."""
    lines = reading(window)
    with open(os.path.join(SHOTS, f"{what}-tree.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")
    faults = []
    if (role_of(window), window.name) != (role, title):
        faults.append(f"the window reads as {role_of(window)} {window.name!r}, not {role} {title!r}")
    faults += unnamed_controls(window, DESIGNED_NAMES)
    spoken = set()
    for _, node in walk(window):
        spoken.update((node.name, node.description))
    faults += [f"the text {text!r} is nowhere in the tree" for text in texts if text not in spoken]
    present = {(role_of(node), node.name) for _, node in walk(window)}
    faults += [f"no {role} named {name!r}" for role, name in controls if (role, name) not in present]
    if faults:
        raise Failure(f"{what} as a screen reader reads it:\n  " + "\n  ".join(faults)
                      + "\nthe tree:\n" + "\n".join(lines))
    log(f"{what}: {len(lines)} lines in the tree, every control named as it reads")


# --- The program.

class Program:
    def __init__(self, disc, label):
        self.label = label
        self.stderr_path = os.path.join(SHOTS, f"{label}.stderr.txt")
        self.stderr = open(self.stderr_path, "w")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb")
        log(f"starting {disc}/quillon")
        self.process = subprocess.Popen([os.path.join(disc, "quillon")], cwd="/",
                                        stdout=self.stderr, stderr=subprocess.STDOUT, env=env)
        self.app = wait_for("the program on the accessibility bus",
                            lambda: self._alive() and application(self.process.pid), STARTUP_SECONDS)

    def _alive(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended early with code {self.process.returncode}; "
                          f"its output:\n{self.output()}")
        return True

    def output(self):
        self.stderr.flush()
        with open(self.stderr_path) as f:
            return f.read()

    def wait_exit(self, why):
        try:
            code = self.process.wait(STEP_SECONDS)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program is still running {STEP_SECONDS} s after {why}")
        if code != 0:
            raise Failure(f"the program ended with code {code} after {why}; its output:\n{self.output()}")
        log(f"the program ended with code 0 after {why}")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stderr.close()


def video_windows():
    """The full-screen video's own window, titled with the file it plays."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", r"_3\.wmv$"],
                           capture_output=True, text=True)
    return [int(w) for w in found.stdout.split()]


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
    """The full-screen button fills the screen with the picture, in a window a screen reader reads as
    one; Escape, then a double-click, bring the video back into the player window."""
    for leave in ("Escape", "double-click"):
        button = wait_for("the full-screen button", lambda: (lambda b: b if b and showing(b) else None)
                          (find(frame, FULL_SCREEN)))
        click(*centre(button))
        window = wait_for("the full-screen video window", video_windows)[0]
        geometry = subprocess.run(["xdotool", "getwindowgeometry", str(window)], capture_output=True,
                                  text=True).stdout
        if "1280x1024" not in geometry:
            raise Failure(f"the full-screen video does not fill the screen: {geometry}")
        wait_for("the picture filling the screen, keeping its shape", picture_filling_the_screen)
        wait_for("the full-screen video read as a window named Video", lambda: any(
            (role_of(w), w.name) == ("frame", "Video") and showing(w)
            for w in (app.getChildAtIndex(i) for i in range(app.childCount)) if w is not None))
        screenshot("2b-full-screen")
        if leave == "Escape":
            subprocess.run(["xdotool", "key", "Escape"], check=True)
        else:
            double_click(640, 512)
        wait_for(f"{leave} to leave full screen", lambda: not video_windows())
        log(f"full screen and back by {leave}")


def audit_player(frame, title, notes_file, long_date, start, what):
    """The player window with notes: its dates, times and headings are read out, all its controls by
    their captions."""
    finished = ElementTree.parse(os.path.join(DISC, notes_file)).getroot().findtext("finished")
    texts = [title, "Session Information", "-  Speed  +", long_date, start, finished, "Full Screen"]
    wait_for("the full-screen button", lambda: find(frame, FULL_SCREEN) and showing(find(frame, FULL_SCREEN)))
    audit(frame, "frame", title, texts, PLAYER_CONTROLS + [("push button", "Full Screen")], what)
    status = find(frame, lambda node: node.description == "Status" and showing(node))
    if status is not None and status.name in ("", "Status"):
        raise Failure(f"the media bar's status reads as {status.name!r}, not its message")
    panel = find(frame, CLOCK)
    wait_for("the recorded-time panel to describe the time its digits show",
             lambda: panel.description.split(" ")[0] == clock_text(frame), 5)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)
    time.sleep(0.2)


def focused_control(frame):
    hits = [(role_of(node), node.name) for _, node in walk(frame)
            if role_of(node) != "table cell" and node.getState().contains(pyatspi.STATE_FOCUSED)]
    return hits[0] if len(hits) == 1 else None


def keyboard(window, frame, announced):
    """The transport from the keyboard alone: Tab walks the designed order; Space and Enter press the
    focused button (the scan box then reads checked, the media bar's button tells paused from
    playing); the arrow keys move the speed slider."""
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], check=True)
    bar_button = lambda name: (lambda b: b if b and showing(b) else None)(  # noqa: E731
        find(frame, control("push button", name)))
    checked = lambda name: find(frame, control("check box", name)).getState().contains(  # noqa: E731
        pyatspi.STATE_CHECKED)
    for index, expected in enumerate(TAB_ORDER):
        wait_for(f"{expected} to have focus (step {index} of the tab order)",
                 lambda: focused_control(frame) == expected, 5)
        if index == 0:
            since = announced.mark()
            key("space")
            announced.wait("ff checked after Space", lambda kind, role, name, detail: (
                kind.endswith(":checked") and name == "ff" and detail == 1), since)
            wait_for("ff to read checked", lambda: checked("ff"), 5)
            screenshot("2c-focus-on-ff")
            since = announced.mark()
            key("Return")
            announced.wait("ff unchecked after Enter", lambda kind, role, name, detail: (
                kind.endswith(":checked") and name == "ff" and detail == 0), since)
            wait_for("ff to read unchecked", lambda: not checked("ff"), 5)
        elif expected == ("push button", "pause"):
            key("space")
            wait_for("the media bar to offer Play after Space on pause", lambda: bar_button("Play"), 5)
            key("shift+Tab")
            wait_for("play to have focus again", lambda: focused_control(frame) == TAB_ORDER[2], 5)
            key("Return")
            wait_for("the media bar to offer Pause after Enter on play", lambda: bar_button("Pause"), 5)
            key("Tab")
            wait_for("pause to have focus again", lambda: focused_control(frame) == expected, 5)
        elif expected == ("slider", "Speed"):
            speed = find(frame, control(*expected)).queryValue()
            for arrow, value in (("Right", 2), ("Left", 1), ("Left", 0), ("Right", 1)):
                key(arrow)
                wait_for(f"the speed at {value} after {arrow}", lambda: speed.currentValue == value, 5)
            screenshot("2d-focus-on-speed")
            continue
        key("Tab")
    log("the transport works from the keyboard in the designed tab order")


def overlay_mode(app, frame):
    """A click on the logo holds the window on top and says so in an alert a screen reader reads;
    its button closes it. A second click turns overlay mode off again."""
    for state in ("ON", "OFF"):
        click(*centre(find(frame, LOGO)))
        dialog = wait_for(f"the overlay {state} message", lambda: next(
            (w for w in (app.getChildAtIndex(i) for i in range(app.childCount))
             if w is not None and w.name == OVERLAY_TITLE and showing(w)), None))
        screenshot(f"2a-overlay-{state.lower()}")
        audit(dialog, "alert", OVERLAY_TITLE, [f"Overlay mode is {state}"], [("push button", "OK")],
              f"overlay-{state.lower()}-message")
        # Closed by its button: a key that closes the box leaves Qt's accessibility bridge holding a
        # copy of the key's release for a button that is gone, which it never frees.
        click(*centre(find(dialog, control("push button", "OK"))))
        wait_for("the message to close", lambda: not showing(dialog) or dialog.name != OVERLAY_TITLE, 10)
        if state == "ON":
            audit(frame, "frame", frame.name, [], PLAYER_CONTROLS, "player-overlay")
    log("overlay mode on and off, both messages read")


def pm_marker_showing(frame):
    marker = find(frame, PM_MARKER)
    return marker is not None and showing(marker)


def check_playing(app, title, first, last, pm):
    """The player window shows with its title and its clock runs inside the recording
    (first and last are the six digits as the clock shows them, 12-hour)."""
    window = wait_for(f"a window titled {title!r}", lambda: x_windows(title))[0]
    frame = wait_for("the player window in the accessibility tree", lambda: frame_holding(app, CLOCK))
    log(f"player window {title!r} is showing")
    start = wait_for("the clock to show a time of the recording",
                     lambda: (lambda t: t if first <= t <= last else None)(clock_text(frame)))
    later = wait_for("the clock to move on", lambda: (lambda t: t if t != start else None)(clock_text(frame)))
    if not first <= later <= last:
        raise Failure(f"the clock went from {start} to {later}, outside {first} to {last}")
    if pm_marker_showing(frame) != pm:
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
        wait_for("the clock to move on", lambda: clock_text(frame) != shown, 5)
    if 0 not in lags or lags.count(1) > len(lags) // 4:
        raise Failure(f"the clock is not the start plus the bar's time: it lags it by {lags} s")
    log(f"the clock follows the bar (lagging it by {lags} s)")


def catalogue_and_player():
    announced = Announcements()  # listening before the program starts, so it knows from the start
    focus = FocusHeard()
    program = Program(DISC, "catalogue")
    try:
        app = program.app
        catalogue = wait_for("the catalogue window", lambda: x_windows(CATALOGUE_TITLE))[0]
        frame = wait_for("the catalogue's controls", lambda: frame_holding(app, SESSION_LIST))
        view = find(frame, SESSION_LIST)
        headers, rows = wait_for("the catalogue's rows", lambda: (lambda h, r: (h, r) if r else None)
                                 (*table_rows(view)))
        log(f"catalogue columns {headers}, {len(rows)} rows")
        expected_headers = ["Location", "Date", "Start Time", "Channels", "Video", "Filename", "Notes"]
        if headers != expected_headers:
            raise Failure(f"catalogue columns are {headers}, expected {expected_headers}")
        listed = {row[:6] for row in rows}
        if listed != EXPECTED_ROWS or len(rows) != len(EXPECTED_ROWS):
            raise Failure(f"catalogue rows are {rows}, expected {sorted(EXPECTED_ROWS)}")
        screenshot("1-catalogue")
        audit(frame, "frame", CATALOGUE_TITLE, [CATALOGUE_TITLE, "Sessions available on this CD",
                                                "Double-Click to Play"],
              [("tree", "Sessions available on this CD"), ("label", "Double-Click to Play")], "catalogue")

        # Open the video recording, whose clock is burnt into the picture too.
        index = next(i for i, row in enumerate(rows) if row[5].endswith("_3.wmv"))
        cell = view.queryTable().getAccessibleAt(index, 0)
        double_click(*centre(cell))
        player, frame = check_playing(app, "Room3 - 12-14-2009", "09:30:00", "09:31:20", pm=False)
        if x_windows(CATALOGUE_TITLE):
            raise Failure("the catalogue is still visible while the player window shows")
        screenshot("2-player-video")
        audit_player(frame, "Room3 - 12-14-2009", "Room3_12-14-2009_34200.xml", "Monday, December 14, 2009",
                     "09:30:00 AM", "player")
        keyboard(player, frame, announced)
        overlay_mode(app, frame)
        # Overlay mode gives the player a new X window (its flags changed).
        player = wait_for("the player window after overlay mode", lambda: x_windows("Room3 - 12-14-2009"))[0]
        full_screen_and_back(app, frame)
        media_menu(frame, focus)

        wait_for("the player on the session bus", lambda: "quillon" in players(), 5)
        close_window(player)
        wait_for("the catalogue to come back", lambda: x_windows(CATALOGUE_TITLE))
        wait_for("the player window to go", lambda: not x_windows("Room3 - 12-14-2009"))
        wait_for("the player to leave the session bus", lambda: "quillon" not in players(), 5)
        log("player closed, the catalogue is back")
        screenshot("3-catalogue-again")

        # A second session from the same catalogue, chosen by keyboard alone: the afternoon meeting,
        # audio only.
        rows = table_rows(view)[1]
        index = next(i for i, row in enumerate(rows) if row[0] == "Hall2")
        subprocess.run(["xdotool", "windowfocus", "--sync", str(catalogue)], check=True)
        key("Home")
        for _ in range(index):
            key("Down")
        wait_for("the Hall2 row to be selected", lambda: view.queryTable().isRowSelected(index), 5)
        since = announced.mark()
        key("Return")
        player, _ = check_playing(app, "Hall2 - 03-02-2010", "02:00:00", "02:01:20", pm=True)
        # The date label's new text reaches a screen reader as its new name.
        announced.wait("the recording's date", lambda kind, role, name, detail: (
            kind.endswith(":accessible-name") and (role, name) == ("label", "Tuesday, March 2, 2010")), since)
        screenshot("4-player-audio")
        close_window(player)
        wait_for("the catalogue to come back", lambda: x_windows(CATALOGUE_TITLE))

        close_window(catalogue)
        program.wait_exit("closing the catalogue")
    finally:
        program.stop()
        announced.close()
        focus.close()


def right_click(x, y):
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "3"], check=True)


class FocusHeard(Announcements):
    """The controls a screen reader is told have gained focus (a popup menu is reached only so)."""
    TYPES = ("object:state-changed:focused",)

    def _hear(self, event):
        if event.detail1:
            self.heard.append(event.source)


def media_menu(frame, focus):
    """A right-click on the picture opens the media component's own menu; Down reaches its first
    entry, and the entries read as its commands. Its Pause pauses as the bar's button does."""
    since = focus.mark()
    right_click(*centre(find(frame, control("filler", "Video"))))
    key("Down")
    entry = wait_for("a screen reader to be told of the media menu's first entry", lambda: focus.pump() or next(
        (node for node in focus.heard[since:] if node.getRoleName().endswith("menu item")), None), 10)
    menu = entry.parent
    entries = [n.name for n in (menu.getChildAtIndex(i) for i in range(menu.childCount))
               if n.getRoleName().endswith("menu item") and showing(n)]
    if entries != ["Pause", "Stop", "Full Screen", "Mute"]:
        raise Failure(f"the media menu reads {entries}, not Pause, Stop, Full Screen, Mute")
    screenshot("2e-media-menu")
    click(*centre(find(menu, control("menu item", "Pause"))))
    wait_for("the media bar to offer Play after Pause in its menu",
             lambda: (lambda b: b and showing(b))(find(frame, control("push button", "Play"))))
    log("the media menu opens on the picture and its Pause pauses")


def playerctl(*args, player="quillon"):
    """The desktop's media controls, as a media key or the desktop's panel uses them."""
    return subprocess.run(["playerctl", "-p", player, *args], capture_output=True, text=True,
                          timeout=STEP_SECONDS).stdout.strip()


def players():
    return subprocess.run(["playerctl", "-l"], capture_output=True, text=True).stdout.split()


class StatusHeard:
    """What the desktop is told of playback: playerctl following the player's status signals."""

    def __init__(self):
        self.heard = []
        self.process = subprocess.Popen(["playerctl", "-p", "quillon", "--follow", "status"],
                                        stdout=subprocess.PIPE, text=True)
        threading.Thread(target=lambda: self.heard.extend(iter(self.process.stdout.readline, "")),
                         daemon=True).start()

    def wait(self, status, since):
        wait_for(f"the desktop to be told {status}", lambda: f"{status}\n" in self.heard[since:], 10)

    def close(self):
        self.process.kill()
        self.process.wait()


def media_keys(program, frame):
    """playerctl reads the player's title and status, pauses and plays it and sets its position (the
    clock shows the engine's moves); the window's own buttons change the status the desktop is told.
    A second player takes its own instance name."""
    if (playerctl("status"), playerctl("metadata", "xesam:title")) != ("Playing", "HALL2 - 03-02-2010"):
        raise Failure(f"playerctl reads {playerctl('status')!r} {playerctl('metadata')!r}")
    heard = StatusHeard()
    try:
        playerctl("pause")
        wait_for("the media bar to offer Play after playerctl pause",
                 lambda: (lambda b: b and showing(b))(find(frame, control("push button", "Play"))), 5)
        stood = clock_text(frame)
        time.sleep(1.5)
        if clock_text(frame) != stood:
            raise Failure(f"the clock went on from {stood} to {clock_text(frame)} after playerctl pause")
        playerctl("play")
        wait_for("the clock to move after playerctl play", lambda: clock_text(frame) != stood, 5)
        playerctl("position", "30")
        wait_for("the clock at 02:00:30 after playerctl position 30",
                 lambda: "02:00:30" <= clock_text(frame) <= "02:00:33", 5)
        for button, status in (("pause", "Paused"), ("play", "Playing")):
            since = len(heard.heard)
            click(*centre(find(frame, control("push button", button))))
            heard.wait(status, since)
    finally:
        heard.close()
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
        media_keys(program, frame)
        header = table_rows(find(frame, control("tree", "Session Information")))[1]
        notes = find(frame, NOTES)
        rows = table_rows(notes)[1]
        if ("Meeting", "Planning interview") not in header or [r[2] for r in rows] != ["Opened", "Oak tree kept"]:
            raise Failure(f"the upper-case notes document was not read: header {header}, notes {rows}")
        click(*centre(notes.queryTable().getAccessibleAt(1, 2)))
        wait_for("the second note to be selected", lambda: notes.queryTable().isRowSelected(1), 5)
        before = clock_text(frame)
        box = notes.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        double_click(box.x + box.width // 2, box.y + box.height - 8)
        wait_for(f"the clock to jump from {before} to the note at 02:00:50",
                 lambda: "02:00:50" <= clock_text(frame) <= "02:00:53", 5)
        log(f"a double-click below the notes jumped from {before} to {clock_text(frame)}")
        screenshot("5-single-file")
        close_window(player)
        program.wait_exit("closing the player on a one-file disc")
    finally:
        program.stop()


def main():
    os.makedirs(SHOTS, exist_ok=True)
    try:
        catalogue_and_player()
        single_file_disc()
    except Failure as failure:
        screenshot("failure")
        log(f"FAILED: {failure}")
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
