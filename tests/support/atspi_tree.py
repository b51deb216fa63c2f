"""What the end-to-end scripts share: waiting, the program's accessibility tree, X windows and mouse
clicks."""
import ctypes
import re
import subprocess
import time

import pyatspi


class Failure(Exception):
    pass


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_for(what, probe, seconds=30, interval=0.25):
    """Polls probe until it returns something true; fails with what was awaited."""
    deadline = time.monotonic() + seconds
    last_error = None
    while time.monotonic() < deadline:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # the tree changes under our feet while windows come and go
            last_error = error
        time.sleep(interval)
    raise Failure(f"timed out after {seconds} s waiting for {what}"
                  + (f" (last error: {last_error})" if last_error else ""))


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            pass
    return None


TABLE_ROLES = {"table", "tree table", "tree", "list"}


def walk(node, depth=0):
    """Every node under node, depth first, with its depth; a table's cells are not visited."""
    if node is None or depth > 40:
        return
    yield depth, node
    if role_of(node) not in TABLE_ROLES:
        for child in node:
            yield from walk(child, depth + 1)


def find(node, predicate):
    """The first node under node, depth first, that matches."""
    return next((hit for _, hit in walk(node) if predicate(hit)), None)


def find_showing(node, predicate):
    return find(node, lambda hit: predicate(hit) and showing(hit))


def role_of(node):
    """The role's name as at-spi2 2.46 spells it: later versions call a push button "button"."""
    role = node.getRoleName()
    return "push button" if role == "button" else role


def control(role, name):
    """A control as a screen reader user knows it: its role ("push button", "label", ...) and name."""
    return lambda node: node.name == name and role_of(node) == role


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def frame_holding(app, predicate):
    """The top-level window that holds a control matching predicate."""
    return next((frame for frame in app if find(frame, predicate) is not None), None)


def reading(window):
    """The lines a screen reader user meets, one per control: role, name, description and state; a
    table as its size rather than every cell."""
    lines = []
    for depth, node in walk(window):
        state = node.getState()
        flags = [word for word, flag in (("hidden", not state.contains(pyatspi.STATE_SHOWING)),
                                         ("checked", state.contains(pyatspi.STATE_CHECKED)),
                                         ("focused", state.contains(pyatspi.STATE_FOCUSED))) if flag]
        line = "  " * depth + f"{role_of(node)}: {node.name!r}"
        if node.description:
            line += f" - {node.description!r}"
        if flags:
            line += f" [{', '.join(flags)}]"
        if role_of(node) in TABLE_ROLES:
            line += f" ({node.queryTable().nRows} rows)"
        lines.append(line)
    return lines


# Containers a screen reader passes over when they have no name; the designed (internal) names of the
# layout's controls, which it must never speak.
UNNAMED_ROLES = {"filler", "panel", "scroll bar", "unknown", "redundant object"}
DESIGNED_NAME = re.compile(r"^((frm|lv|lbl|pic|chk|cmb|sld|txt)[A-Z]|Label\d|Picture\d|MPlayer)")


def unnamed_controls(window):
    """Controls a screen reader would speak by a designed name, or showing ones it would speak by none."""
    return [f"{role_of(node)} {node.name!r} (under {role_of(node.parent)} {node.parent.name!r})"
            for _, node in walk(window) if DESIGNED_NAME.match(node.name)
            or not node.name and role_of(node) not in UNNAMED_ROLES and showing(node)]


def centre(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(x, y, count=1, button=1):
    # No --sync: it waits for a pointer motion that never comes when the pointer is already there.
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "--repeat", str(count), "--delay", "120", str(button)], check=True)


def x_windows(title):
    """Visible top-level X windows whose whole title matches the pattern title."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True)
    return [int(w) for w in found.stdout.split()]


def close_window(window):
    """Sends WM_DELETE_WINDOW, as the close button of a window manager does (Xvfb has none)."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    protocols, delete = (x11.XInternAtom(display, name, False) for name in (b"WM_PROTOCOLS", b"WM_DELETE_WINDOW"))
    # An XClientMessageEvent (ClientMessage, format 32): on x86-64 each of its fields takes one long.
    event = (ctypes.c_long * 24)(33, 0, 0, 0, window, protocols, 32, delete)
    x11.XSendEvent(display, ctypes.c_ulong(window), False, 0, ctypes.byref(event))
    x11.XCloseDisplay(display)  # flushes the event
