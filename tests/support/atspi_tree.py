"""What the end-to-end scripts share: waiting, the program's accessibility tree and mouse clicks."""
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


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def frame_holding(app, control_name):
    """The top-level window (frame) that holds the control with this accessible name."""
    for index in range(app.childCount):
        frame = app.getChildAtIndex(index)
        if frame is not None and find(frame, named(control_name)) is not None:
            return frame
    return None


def centre(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def double_click(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "--repeat", "2", "--delay", "120", "1"], check=True)
