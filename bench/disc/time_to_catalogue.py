#!/usr/bin/python3
"""Seconds from starting a command to the catalogue window being mapped on the X server, read from
the server's own map events (no polling). Prints one time per line.

    time_to_catalogue.py ROUNDS -- COMMAND...

Each round starts COMMAND, waits for the catalogue, then closes it the way a window manager does and
waits for the command to end.
"""
import ctypes
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from atspi_tree import close_window  # noqa: E402

TITLE = b"Vantrel Quillon"
SUBSTRUCTURE_NOTIFY = 1 << 19
MAP_NOTIFY = 19

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XFlush.argtypes = [ctypes.c_void_p]


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("map", MapEvent), ("pad", ctypes.c_long * 24)]


def title(display, window):
    name = ctypes.c_char_p()
    x11.XFetchName(display, window, ctypes.byref(name))
    return name.value or b""


def one_round(command):
    display = x11.XOpenDisplay(None)
    x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY)
    x11.XFlush(display)
    event = Event()
    start = time.monotonic()
    program = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while True:
        x11.XNextEvent(display, ctypes.byref(event))
        if event.map.type == MAP_NOTIFY and title(display, event.map.window) == TITLE:
            elapsed = time.monotonic() - start
            break
    time.sleep(0.5)
    close_window(event.map.window)
    program.wait(30)
    return elapsed


def main():
    rounds, dash, *command = sys.argv[1:]
    assert dash == "--" and command
    signal.alarm(120 * int(rounds))  # a program that never shows its catalogue ends the measure
    for _ in range(int(rounds)):
        print(f"{one_round(command):.3f}", flush=True)


if __name__ == "__main__":
    main()
