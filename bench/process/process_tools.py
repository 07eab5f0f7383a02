# SPDX-License-Identifier: GPL-3.0-or-later
"""What the whole-process measurements need beside the end-to-end tests' session: the CPU time
and resident memory of a process, single screen pixels read fast, and the soak's own moves
(stopping korvelane-sim, seeing it unplug itself, closing every message box)."""

import ctypes
import functools
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e"))
from korvelane_session import Session, Window, build_dir  # noqa: E402,F401
from xlib_tools import declare  # noqa: E402


def process_times(pid):
    """(user + system CPU seconds, resident kB) of a running process."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    cpu = (int(fields[11]) + int(fields[12])) / ticks  # utime, stime
    return cpu, resident_kb(pid)


def status_kb(pid, field):
    """A size in kB from /proc/PID/status: VmRSS (resident now), VmHWM (its peak), ..."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def resident_kb(pid):
    return status_kb(pid, "VmRSS")


def stop_sim(session):
    """Stops korvelane-sim as SIGTERM does: it removes its socket, the program sees an unplug."""
    session._stop("sim")


def sim_unplugged(session):
    """Whether the running korvelane-sim has unplugged itself (--fault unplug-after)."""
    return "instrument unplugged" in session.stderr_tail("sim", lines=5)


def dismiss_alerts(session):
    """Closes every message box on screen; returns what they said."""
    said = []
    for alert in session.find_all("alert"):
        labels = [session.text_of(a) for a in session.find_all("label", root=alert)]
        said.append(f"{alert.name}: {' '.join(t for t in labels if t)}")
        for ok in session.find_all("push button", "OK", root=alert):
            session.click(ok)
    return said


@functools.lru_cache(maxsize=None)
def _xlib():
    return declare({
        "XOpenDisplay": (ctypes.c_void_p, [ctypes.c_char_p]),
        "XCloseDisplay": (ctypes.c_int, [ctypes.c_void_p]),
        "XDefaultRootWindow": (ctypes.c_ulong, [ctypes.c_void_p]),
        "XGetImage": (ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                        ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                        ctypes.c_ulong, ctypes.c_int]),
        "XGetPixel": (ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]),
        "XDestroyImage": (ctypes.c_int, [ctypes.c_void_p]),
    })


class ScreenProbe:
    """Reads single pixels of the X screen (a fraction of a millisecond each)."""

    def __init__(self, display_name):
        self._dpy = _xlib().XOpenDisplay(display_name.encode())
        if not self._dpy:
            raise RuntimeError(f"cannot open display {display_name}")
        self._root = _xlib().XDefaultRootWindow(self._dpy)

    def pixel(self, x, y):
        """The pixel value at (x, y) of the root window (0 is black)."""
        lib = _xlib()
        image = lib.XGetImage(self._dpy, self._root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return 0
        value = lib.XGetPixel(image, 0, 0)
        lib.XDestroyImage(image)
        return value

    def close(self):
        _xlib().XCloseDisplay(self._dpy)
