"""The program as a user first meets it on a machine without a desktop session bus: a one-video disc
opens straight into the player, full screen and back, closes; then the same with every option the
toolkit would act on, which must change nothing: the window appears on the same display, at the same
place and size, and looks the same."""
import ctypes
import subprocess
import sys
import time

quillon, work = sys.argv[1], sys.argv[2]
STYLESHEET = f"{work}/red.qss"
with open(STYLESHEET, "w") as f:
    f.write("* { background: red; color: white; font-size: 30px }\n")
TOOLKIT_OPTIONS = ["-reverse", "-style", "fusion", "-stylesheet", STYLESHEET, "-platform", "offscreen",
                   "-qwindowgeometry", "320x200+7+9", "-geometry", "320x200+7+9", "-display", ":987",
                   "-nograb", "-session", "s1", "-widgetcount", "--help"]
TWIPS_PER_PIXEL = 15


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_for(what, probe, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = probe()
        if result:
            return result
        time.sleep(0.25)
    raise SystemExit(f"FAILED: no {what} within {seconds} s")


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def close(window):
    """WM_DELETE_WINDOW, as a window manager's close button sends it (Xvfb has none)."""
    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                    ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                    ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(ClientMessage)]
    display = x11.XOpenDisplay(None)
    event = ClientMessage(type=33, window=window, format=32,
                          message_type=x11.XInternAtom(display, b"WM_PROTOCOLS", False))
    event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", False)
    x11.XSendEvent(display, window, False, 0, ctypes.byref(event))
    x11.XFlush(ctypes.c_void_p(display))
    x11.XCloseDisplay(ctypes.c_void_p(display))


def session(arguments, full_screen):
    """Plays the disc, returns the player window's geometry and a picture of its still parts."""
    program = subprocess.Popen([quillon, *arguments])
    try:
        window = int(wait_for("player window", lambda: xdotool("search", "--onlyvisible", "--classname",
                                                                "quillon"))[0])
        time.sleep(3)  # playing, and every control painted
        geometry = xdotool("getwindowgeometry", "--shell", str(window))
        picture = f"{work}/player{len(arguments)}.png"
        # The session information and the notes: nothing there moves while the media plays.
        left, top = 5265 // TWIPS_PER_PIXEL, 2565 // TWIPS_PER_PIXEL
        subprocess.run(["import", "-window", str(window), "-crop", f"{8700 // TWIPS_PER_PIXEL - left}x"
                        f"{4830 // TWIPS_PER_PIXEL - top}+{left}+{top}", picture], check=True)
        if full_screen:
            xdotool("mousemove", "--window", str(window), str(9277 // TWIPS_PER_PIXEL),
                    str(4440 // TWIPS_PER_PIXEL), "click", "1")
            time.sleep(2)
            xdotool("key", "Escape")
            time.sleep(1)
        close(window)
        wait_for("exit after the player closed", lambda: program.poll() is not None, 20)
        if program.returncode != 0:
            raise SystemExit(f"FAILED: exit code {program.returncode}")
        return geometry, picture
    finally:
        if program.poll() is None:
            program.kill()


plain = session([], full_screen=True)
log(f"without arguments: {' '.join(plain[0])}")
optioned = session(TOOLKIT_OPTIONS, full_screen=False)
log(f"with the toolkit's options: {' '.join(optioned[0])}")
if optioned[0] != plain[0]:
    raise SystemExit("FAILED: the options moved or resized the window")
differ = subprocess.run(["compare", "-metric", "AE", plain[1], optioned[1], "null:"],
                        capture_output=True, text=True).stderr.strip()
if differ != "0":
    raise SystemExit(f"FAILED: the options changed how the window looks ({differ} pixels)")
log("the command line changed nothing")
