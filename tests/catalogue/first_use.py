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


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def still_picture(window, path):
    """The session information and the notes, which do not move while the media plays, once two
    pictures taken one after the other agree (every control painted)."""
    left, top = 5265 // TWIPS_PER_PIXEL, 2565 // TWIPS_PER_PIXEL
    crop = f"{8700 // TWIPS_PER_PIXEL - left}x{4830 // TWIPS_PER_PIXEL - top}+{left}+{top}"
    take = lambda name: subprocess.run(["import", "-window", str(window), "-crop", crop, name],  # noqa: E731
                                       check=True)
    take(path)

    def settled():
        take(path + ".next.png")
        differ = subprocess.run(["compare", "-metric", "AE", path, path + ".next.png", "null:"],
                                capture_output=True, text=True).stderr.strip()
        os.replace(path + ".next.png", path)
        return differ == "0"
    wait_for("a still picture of the player window", settled)
    return path


def full_screen_and_back(window):
    """The full-screen button fills the screen with the video's own window; Escape ends it."""
    xdotool("mousemove", "--window", str(window), str(9277 // TWIPS_PER_PIXEL), str(4440 // TWIPS_PER_PIXEL),
            "click", "1")
    video = wait_for("the full-screen video", lambda: xdotool("search", "--onlyvisible", "--name", r"_3\.wmv$"))
    geometry = " ".join(xdotool("getwindowgeometry", video[0]))
    if "1280x1024" not in geometry:
        raise Failure(f"the full-screen video does not fill the screen: {geometry}")
    xdotool("key", "Escape")
    wait_for("Escape to leave full screen",
             lambda: not xdotool("search", "--onlyvisible", "--name", r"_3\.wmv$"))


def session(arguments, full_screen):
    """Plays the disc, returns the player window's geometry and a picture of its still parts."""
    program = subprocess.Popen([quillon, *arguments])
    try:
        window = int(wait_for("player window", lambda: xdotool("search", "--onlyvisible", "--classname",
                                                                "quillon"))[0])
        picture = still_picture(window, f"{work}/player{len(arguments)}.png")
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
    differ = subprocess.run(["compare", "-metric", "AE", plain[1], optioned[1], "null:"],
                            capture_output=True, text=True).stderr.strip()
    if differ != "0":
        raise Failure(f"the options changed how the window looks ({differ} pixels)")
except Failure as failure:
    raise SystemExit(f"FAILED: {failure}")
log("the command line changed nothing")
