"""The program as a user first meets it on a machine without a desktop session bus: a one-video disc
opens straight into the player, full screen and back, closes; then the same with every option the
toolkit would act on, which must change nothing: the window appears on the same display, at the same
place and size, and looks the same."""
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
TWIPS_PER_PIXEL = 15
STILL = (5265, 2565, 8700, 4830)  # the session information and the notes: left, top, right, bottom


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def pixels(window, left, top, right, bottom):
    """A part of the window, between positions in twips, as raw RGB bytes."""
    left, top, right, bottom = (twips // TWIPS_PER_PIXEL for twips in (left, top, right, bottom))
    return subprocess.run(["import", "-window", str(window), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                           "rgb:-"], capture_output=True, check=True).stdout


def still_picture(window):
    """The session information and the notes, which do not move while the media plays, once they are
    painted (not one colour) and two pictures in a row agree."""
    previous = [b""]

    def same_as_before():
        now = pixels(window, *STILL)
        same, previous[0] = now == previous[0], now
        return same and len(set(now)) > 3
    wait_for("a still picture of the player window", same_as_before)
    return previous[0]


def video_windows():
    return xdotool("search", "--onlyvisible", "--name", r"_3\.wmv$")


def full_screen_and_back(window):
    """The full-screen button (offered once the first tick knows the media is video) fills the screen
    with the video's own window; Escape ends it."""
    def clicked():
        if not video_windows():
            xdotool("mousemove", "--window", str(window), str(9277 // TWIPS_PER_PIXEL),
                    str(4440 // TWIPS_PER_PIXEL), "click", "1")
        return video_windows()
    geometry = " ".join(xdotool("getwindowgeometry", wait_for("the full-screen video", clicked)[0]))
    if "1280x1024" not in geometry:
        raise Failure(f"the full-screen video does not fill the screen: {geometry}")
    xdotool("key", "Escape")
    wait_for("Escape to leave full screen", lambda: not video_windows())


def session(arguments, full_screen):
    """Plays the disc, returns the player window's geometry and a picture of its still parts."""
    program = subprocess.Popen([quillon, *arguments])
    try:
        window = int(wait_for("player window", lambda: xdotool("search", "--onlyvisible", "--classname",
                                                                "quillon"))[0])
        picture = still_picture(window)
        geometry = xdotool("getwindowgeometry", "--shell", str(window))
        if full_screen:
            full_screen_and_back(window)
        close_window(window)
        wait_for("exit after the player closed", lambda: program.poll() is not None, 20)
        if program.returncode != 0:
            raise Failure(f"exit code {program.returncode}")
        return geometry, picture
    finally:
        if program.poll() is None:
            program.kill()


try:
    plain = session([], full_screen=True)
    log(f"without arguments: {' '.join(plain[0])}")
    optioned = session(TOOLKIT_OPTIONS, full_screen=False)
    log(f"with the toolkit's options: {' '.join(optioned[0])}")
    if optioned[0] != plain[0]:
        raise Failure("the options moved or resized the window")
    if optioned[1] != plain[1]:
        differ = sum(a != b for a, b in zip(plain[1], optioned[1]))
        raise Failure(f"the options changed how the window looks ({differ} bytes of its pixels)")
except Failure as failure:
    raise SystemExit(f"FAILED: {failure}")
log("the command line changed nothing")
