"""The program as a user first meets it on a machine without a desktop session bus: a one-video disc
opens straight into the player and closes; then the same with every option the toolkit would act on,
which must change nothing: the window appears on the same display, at the same place and size, and
looks the same."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_tree import Failure, close_window, log, wait_for  # noqa: E402

quillon, work = sys.argv[1], sys.argv[2]
STYLESHEET = f"{work}/red.qss"
with open(STYLESHEET, "w") as f:
    f.write("* { background: red; color: white; font-size: 30px }\n")
TOOLKIT_OPTIONS = ["-reverse", "-style", "fusion", "-stylesheet", STYLESHEET, "-platform", "offscreen",
                   "-qwindowgeometry", "320x200+7+9", "-geometry", "320x200+7+9", "-display", ":987",
                   "-nograb", "-session", "s1", "-widgetcount", "--help"]
STILL = (351, 171, 229, 151)  # the session information and the notes: x, y, width, height in pixels


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def still_picture(window):
    """The session information and the notes, which do not move while the media plays, once they are
    painted (not one colour) and two pictures in a row agree, as raw RGB bytes."""
    x, y, width, height = STILL
    pictures = [b""]

    def same_as_before():
        pictures.append(subprocess.run(["import", "-window", str(window), "-crop", f"{width}x{height}+{x}+{y}",
                                        "rgb:-"], capture_output=True, check=True).stdout)
        return pictures[-1] == pictures[-2] and len(set(pictures[-1])) > 3
    wait_for("a still picture of the player window", same_as_before)
    return pictures[-1]


def session(arguments):
    """Plays the disc, returns the player window's geometry and a picture of its still parts."""
    program = subprocess.Popen([quillon, *arguments])
    try:
        window = int(wait_for("player window", lambda: xdotool("search", "--onlyvisible", "--classname",
                                                                "quillon"))[0])
        picture = still_picture(window)
        geometry = xdotool("getwindowgeometry", "--shell", str(window))
        close_window(window)
        if program.wait(20) != 0:
            raise Failure(f"exit code {program.returncode}")
        return geometry, picture
    finally:
        program.kill()  # nothing if it has ended


try:
    plain = session([])
    optioned = session(TOOLKIT_OPTIONS)
    if optioned[0] != plain[0]:
        raise Failure(f"the options moved or resized the window: {' '.join(plain[0])} became {' '.join(optioned[0])}")
    if optioned[1] != plain[1]:
        raise Failure("the options changed how the window looks")
except (Failure, subprocess.TimeoutExpired) as failure:
    raise SystemExit(f"FAILED: {failure}")
log("the command line changed nothing")
