#!/usr/bin/python3
"""How a disc starts and ends, on private Xvfb servers of its own (each with an X authority file).

    start_test.py starter TOOLS_DIR   the starter (TOOLS_DIR/disc-start*.c) built with a fake host list
    start_test.py disc QUILLON        a disc made by tools/make-disc.sh from QUILLON

starter: what it finds through LD_LIBRARY_PATH and the loader's cache, what it names, its message
window where the authority file lists other hosts first, a malformed setup reply, no X server.
disc: in a hostile environment the disc maps only what it carries and shows the catalogue; a plugin
dropped beside it is not loaded; ended by SIGTERM, SIGINT or a killed X server it leaves no folder.
"""
import contextlib
import glob
import os
import pathlib
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_tree import Failure, close_window, log, wait_for, x_windows  # noqa: E402

TITLE = "Vantrel Quillon"
FAKES = [f"libquillonfake{n:02d}.so.1" for n in range(25)]
CACHED64, CACHED32 = "libquillonfake64.so.1", "libquillonfake32.so.1"  # in the loader's cache as such
HOST_LIST = FAKES + [CACHED64, CACHED32]
MIT = b"MIT-MAGIC-COOKIE-1"
HOST = os.uname().nodename.encode()
QT_PLUGINS = "/usr/lib/x86_64-linux-gnu/qt6/plugins"


def auth_entry(address, number, cookie, family=256):
    field = lambda b: struct.pack(">H", len(b)) + b  # noqa: E731
    return struct.pack(">H", family) + field(address) + field(number) + field(MIT) + field(cookie)


class XServer:
    """An Xvfb that admits only holders of its cookie; `auth` is a file naming this host."""

    def __init__(self, work, name):
        self.cookie = os.urandom(16)
        self.auth = os.path.join(work, f"{name}.auth")
        pathlib.Path(self.auth).write_bytes(auth_entry(HOST, b"", self.cookie))
        reader, writer = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-auth", self.auth, "-screen", "0",
                                         "1024x768x24", "-nolisten", "tcp"], pass_fds=(writer,),
                                        stderr=subprocess.DEVNULL)
        os.close(writer)
        with os.fdopen(reader) as r:
            self.number = r.readline().strip()
        if not self.number:
            raise Failure("Xvfb did not start")
        self.display = ":" + self.number

    def stop(self):
        self.process.kill()
        self.process.wait()


def run(command, env, window):
    """Runs the command; where a window is expected, waits for it, checks that it holds text and
    closes it. Returns the exit code and what was said on stderr."""
    program = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    try:
        if window:
            shown = wait_for("the message window", lambda: x_windows(TITLE), 10)[0]
            wait_for("the message drawn", lambda: sum(b < 128 for b in subprocess.run(
                ["import", "-window", str(shown), "-depth", "8", "gray:-"], capture_output=True).stdout) > 200, 5)
            close_window(shown)
        err = program.communicate(timeout=20)[1]
    except (Failure, subprocess.TimeoutExpired) as error:
        program.kill()
        raise Failure(f"{error}; stderr: {program.communicate()[1]!r}")
    return program.returncode, err


# --- The starter.

def fake_cache(path, entries):
    """A loader cache in glibc's format: (flags, soname, file) entries."""
    strings, offsets = b"", []
    table = 48 + 24 * len(entries)
    for flags, soname, file in entries:
        offsets.append((flags, table + len(strings), table + len(strings) + len(soname) + 1))
        strings += soname.encode() + b"\0" + file.encode() + b"\0"
    header = b"glibc-ld.so.cache1.1" + struct.pack("<II", len(entries), len(strings)) + bytes(20)
    body = b"".join(struct.pack("<iIIIQ", flags, key, value, 0, 0) for flags, key, value in offsets)
    pathlib.Path(path).write_bytes(header + body + strings)


def listen_as_display():
    """A socket listening on the abstract name of a free display number, which the starter tries first."""
    for number in range(3000, 3100):
        with contextlib.suppress(OSError):
            listener = socket.socket(socket.AF_UNIX)
            listener.bind(f"\0/tmp/.X11-unix/X{number}")
            listener.listen(1)
            return listener, number
    raise Failure("no free display number")


def serve_bad_setup(listener, heard):
    """A fake X server whose setup reply says success but ends before its first screen: hears the setup
    request, then whatever the client sends until it hangs up."""
    connection, _ = listener.accept()
    heard.append(connection.recv(12))
    connection.sendall(struct.pack("<BBHHH", 1, 0, 11, 0, 8) + bytes(32))
    heard.extend(iter(lambda: connection.recv(4096), b""))


def test_starter(tools, work, x):
    disc, a, b, c = (os.path.join(work, d) for d in ("disc", "a", "b", "c"))
    for folder in (disc, a, b, c):
        os.mkdir(folder)
    subprocess.run(["cc", "-std=c11", "-D_GNU_SOURCE", "-O2", "-Wall", "-Wextra", "-Werror", "-static", "-o",
                    f"{disc}/quillon", *sorted(glob.glob(f"{tools}/disc-start*.c")),
                    '-DREQUIRED_GLIBC="2.2.5"', '-DREQUIRED_GLIBCXX="3.4"', '-DDESKTOPS="Debian 12"',
                    f'-DHOST_LIBRARIES="{" ".join(HOST_LIST)}"', f'-DLD_SO_CACHE="{work}/ld.so.cache"'], check=True)
    player = pathlib.Path(f"{disc}/.quillon-player")
    player.write_text(f"#!/bin/sh\ntouch {work}/started\n")
    player.chmod(0o755)
    for n, name in enumerate(FAKES + [CACHED32]):
        pathlib.Path(a if n < 12 else b if n < 24 else c, name).touch()
    fake_cache(f"{work}/ld.so.cache", [(0x0303, CACHED64, str(player)), (0x0003, CACHED32, str(player))])
    hosts = [(b"h" * 300, os.urandom(16)), (b"otherhost", os.urandom(16)), (HOST, x.cookie)]  # this host last
    pathlib.Path(f"{work}/other-hosts-first").write_bytes(
        b"".join(auth_entry(host, x.number.encode(), cookie) for host, cookie in hosts))
    listener, fake_display = listen_as_display()
    heard = []
    fake_server = threading.Thread(target=serve_bad_setup, args=(listener, heard), daemon=True)
    fake_server.start()

    base = {"PATH": "/usr/bin:/bin", "HOME": work, "XAUTHORITY": f"{work}/none"}
    found = {"LD_LIBRARY_PATH": f"{a}:{b}:{c}"}
    on_x = {"DISPLAY": x.display, "XAUTHORITY": x.auth}
    rows = [
        # what, environment, expected exit code, the missing libraries it names, a window, also said
        ("libraries found only through LD_LIBRARY_PATH's folders and the cache: the player starts",
         {**found, **on_x}, 0, [], None, ""),
        ("two missing with LD_LIBRARY_PATH set, one 32-bit only in the cache: both named, with the explanation",
         {"LD_LIBRARY_PATH": f"{a}:{b}"}, 1, [FAKES[24], CACHED32], None, "xkbcommon and ALSA installed."),
        ("other hosts' cookies first in the authority file: the message window opens, all 26 missing named",
         {"DISPLAY": x.display, "XAUTHORITY": f"{work}/other-hosts-first"}, 1, FAKES + [CACHED32], x, ""),
        ("a setup reply that ends before its screen: nothing more is sent",
         {"DISPLAY": f":{fake_display}"}, 1, FAKES + [CACHED32], None, ""),
        ("no X display on a Wayland desktop: said in words", {**found, "WAYLAND_DISPLAY": "wayland-0"}, 1, [],
         None, "Xwayland"),
        ("a player the drive may not run: copy the folder", {**found, **on_x}, 1, [], x, "Copy the whole disc folder"),
    ]
    for what, env, code, missing, window, said in rows:
        if what.startswith("a player the drive"):
            player.chmod(0o644)
        got, err = run([f"{disc}/quillon"], {**base, **env}, window)
        named = [name for name in HOST_LIST if name in err]
        problems = [f"exit code {got}, not {code}"] * (got != code) + \
            [f"named {named}, not {missing}"] * (named != missing) + [f"did not say {said!r}"] * (said not in err)
        if code == 0 and not os.path.exists(f"{work}/started"):
            problems.append("the player did not start")
        if "setup reply" in what:
            fake_server.join(10)
            problems += [f"heard {heard}, not one setup request"] * (len(heard) != 1)
        if problems:
            raise Failure(f"{what}: " + "; ".join(problems) + f"; stderr: {err!r}")
        log(f"ok: {what}")


# --- The disc.

def test_disc(quillon, work, x):
    disc = f"{work}/disc"
    media = [f"{work}/Room1_01-02-2010_3600_1.wma", f"{work}/Hall2_03-02-2010_50400_1.wma"]
    for file in media:
        subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=d=2", "-c:a", "wmav2", file], check=True)
    subprocess.run([f"{os.path.dirname(__file__)}/../../tools/make-disc.sh", "--quillon", quillon, disc, *media],
                   check=True, stdout=subprocess.DEVNULL)
    for plugin in ("imageformats/libqjpeg.so", "platforminputcontexts/libcomposeplatforminputcontextplugin.so"):
        os.makedirs(os.path.dirname(f"{disc}/{plugin}"), exist_ok=True)
        shutil.copy(f"{QT_PLUGINS}/{plugin}", f"{disc}/{plugin}")
    # The system's copies of what the disc carries, by the names the loader asks for.
    system_copies = {os.path.realpath(f"{folder}/{name}") for name in os.listdir(f"{disc}/quillon-libs")
                     for folder in ("/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu")}
    hostile = {"LD_LIBRARY_PATH": "/usr/lib/x86_64-linux-gnu", "QT_PLUGIN_PATH": QT_PLUGINS,
               "QT_QPA_PLATFORM_PLUGIN_PATH": f"{QT_PLUGINS}/platforms", "QT_QPA_PLATFORM": "wayland"}

    def check_maps(pid):
        with open(f"/proc/{pid}/maps") as maps:
            files = {line.split(None, 5)[5].strip() for line in maps if " /" in line and ".so" in line}
        inside = {f for f in files if f.startswith(f"{disc}/quillon-libs/")}
        wrong = sorted(files & system_copies) + sorted(f for f in files - inside if f.startswith(f"{disc}/"))
        xcb = f"{disc}/quillon-libs/plugins/platforms/libqxcb.so" in inside
        if wrong or len(inside) < 100 or not xcb:
            raise Failure(f"{len(inside)} files mapped from the disc (its xcb plugin: {xcb}), from elsewhere: {wrong}")
        return f"{len(inside)} files mapped, all from the disc"

    rows = [
        # how it ends, the environment, what ends it, expected exit code
        ("a hostile environment, then SIGTERM", hostile, lambda p: p.send_signal(signal.SIGTERM), 0),
        ("SIGINT", {}, lambda p: p.send_signal(signal.SIGINT), 0),
        ("a killed X server", {}, lambda p: x.stop(), 1),
    ]
    for what, extra, end, code in rows:
        tmp = tempfile.mkdtemp(dir=work)
        env = {"PATH": "/usr/bin:/bin", "HOME": work, "TMPDIR": tmp, "DISPLAY": x.display, "XAUTHORITY": x.auth,
               **extra}
        program = subprocess.Popen([f"{disc}/quillon"], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE, text=True)
        try:
            wait_for("the catalogue", lambda: program.poll() is None and x_windows(TITLE), 30)
            if extra is hostile:
                log(check_maps(program.pid))
            end(program)
            got = program.wait(20)
            if got != code:
                raise Failure(f"exit code {got}, not {code}")
            wait_for("the private folder to go", lambda: not os.listdir(tmp), 10)
        except (Failure, subprocess.TimeoutExpired) as error:
            program.kill()
            raise Failure(f"{what}: {error}; stderr: {program.communicate()[1]!r}; left: {os.listdir(tmp)}")
        log(f"ok: {what}: catalogue shown, ended with {got}, nothing left")


def main():
    mode, path = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        x = XServer(work, "x")
        os.environ.update(DISPLAY=x.display, XAUTHORITY=x.auth)  # for xdotool, import and close_window
        try:
            test_starter(path, work, x) if mode == "starter" else test_disc(os.path.abspath(path), work, x)
        except Failure as failure:
            print(f"FAILED: {failure}", flush=True)
            return 1
        finally:
            x.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
