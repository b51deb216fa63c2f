#!/usr/bin/python3
"""Reads every window of a running program as a screen reader does (each node's role, name,
description and state, one call after another) and prints the seconds it took and the nodes read.

    read_window.py PID
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from atspi_tree import application, reading, wait_for  # noqa: E402


def main():
    app = wait_for("the program on the accessibility bus", lambda: application(int(sys.argv[1])), 30)
    start = time.monotonic()
    lines = []
    for index in range(app.childCount):
        lines += reading(app.getChildAtIndex(index))
    print(f"{time.monotonic() - start:.3f} {len(lines)}")


if __name__ == "__main__":
    main()
