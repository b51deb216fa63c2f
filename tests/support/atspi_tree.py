"""What the end-to-end scripts share: waiting, the program's accessibility tree, X windows and mouse
clicks."""
import ctypes
import subprocess
import time

import pyatspi

DEFAULT_SECONDS = 30


class Failure(Exception):
    pass


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_for(what, probe, seconds=None, interval=0.25):
    """Polls probe until it returns something true; fails with what was awaited."""
    seconds = seconds or DEFAULT_SECONDS
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
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def find(node, predicate, depth=0):
    """Depth-first search of the accessible tree; returns the first node that matches."""
    if node is None or depth > 40:
        return None
    if predicate(node):
        return node
    for index in range(node.childCount):
        hit = find(node.getChildAtIndex(index), predicate, depth + 1)
        if hit is not None:
            return hit
    return None


def named(name):
    return lambda node: node.name == name


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
    for index in range(app.childCount):
        frame = app.getChildAtIndex(index)
        if frame is not None and find(frame, predicate) is not None:
            return frame
    return None


def walk(node, depth=0):
    """Every node under node, depth first, with its depth."""
    if node is None or depth > 40:
        return
    yield depth, node
    for index in range(node.childCount):
        yield from walk(node.getChildAtIndex(index), depth + 1)


# Nodes a screen reader passes over when they have no name: containers and the parts of a table.
UNNAMED_ROLES = {"filler", "panel", "table cell", "table row", "table column header", "table row header",
                 "column header", "row header", "header", "scroll bar", "unknown", "redundant object"}
TABLE_ROLES = {"table", "tree table", "tree", "list"}


def reading(node, depth=0):
    """The lines a screen reader user meets, one per control: role, name and description; a table
    as its size and headers rather than every cell."""
    lines = []
    role, name = role_of(node), node.name
    state = node.getState()
    flags = [word for word, flag in (("hidden", not state.contains(pyatspi.STATE_SHOWING)),
                                     ("checked", state.contains(pyatspi.STATE_CHECKED)),
                                     ("focused", state.contains(pyatspi.STATE_FOCUSED)))
             if flag]
    line = "  " * depth + f"{role}: {name!r}"
    if node.description:
        line += f" - {node.description!r}"
    if flags:
        line += f" [{', '.join(flags)}]"
    if role in TABLE_ROLES:
        try:
            table = node.queryTable()
            headers = [table.getColumnHeader(c).name if table.getColumnHeader(c) else ""
                       for c in range(table.nColumns)]
            line += f" ({table.nRows} rows; columns {', '.join(headers)})"
            return [line]
        except NotImplementedError:
            pass
    lines.append(line)
    for index in range(node.childCount):
        lines += reading(node.getChildAtIndex(index), depth + 1)
    return lines


def unnamed_controls(window, designed_names):
    """Controls a screen reader would speak by a designed (internal) name, or showing ones it would
    speak by no name at all."""
    faults = []
    for _, node in walk(window):
        role, name = role_of(node), node.name
        if name in designed_names:
            faults.append(f"{role} named by its designed name {name!r}")
        elif (not name and role not in UNNAMED_ROLES and node.getState().contains(pyatspi.STATE_SHOWING)
              and not is_inside_table(node)):
            faults.append(f"{role} without a name (under {role_of(node.parent)} {node.parent.name!r})")
    return faults


def is_inside_table(node):
    parent = node.parent
    while parent is not None:
        if role_of(parent) in TABLE_ROLES:
            return True
        parent = parent.parent
    return False


def centre(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(x, y, count=1):
    # No --sync: it waits for a pointer motion that never comes when the pointer is already there.
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "--repeat", str(count), "--delay", "120", "1"], check=True)


def double_click(x, y):
    click(x, y, 2)


def x_windows(title):
    """Visible top-level X windows with exactly this title."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True)
    return [int(w) for w in found.stdout.split()]


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def close_window(window):
    """Sends WM_DELETE_WINDOW, as the close button of a window manager does (Xvfb has none)."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        raise Failure("cannot open the X display")
    event = _XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", False)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", False)
    event.xclient.data[1] = 0  # CurrentTime
    x11.XSendEvent(display, window, False, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


class Announcements:
    """What the program tells a listening screen reader: state and name changes, as (event type,
    role, name, detail) tuples, gathered while the main loop is pumped."""
    TYPES = ("object:state-changed:checked", "object:property-change:accessible-name")

    def __init__(self):
        from gi.repository import GLib
        self._context = GLib.MainContext.default()
        self.heard = []
        pyatspi.Registry.registerEventListener(self._hear, *self.TYPES)

    def _hear(self, event):
        try:
            self.heard.append((event.type, role_of(event.source), event.source.name, event.detail1))
        except Exception:  # a source that went away meanwhile
            pass

    def mark(self):
        """Where the events from now on begin (listen early: the program learns of a new listener
        only some time after it registers)."""
        self.pump()
        return len(self.heard)

    def pump(self):
        while self._context.iteration(False):
            pass

    def wait(self, what, predicate, since=0, seconds=10):
        """Pumps events until one heard since the mark matches predicate(type, role, name, detail)."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.pump()
            if any(predicate(*heard) for heard in self.heard[since:]):
                return
            time.sleep(0.05)
        raise Failure(f"a screen reader was never told {what}; it heard {self.heard[-12:]}")

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._hear, *self.TYPES)
