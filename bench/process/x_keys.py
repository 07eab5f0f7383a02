# SPDX-License-Identifier: GPL-3.0-or-later
"""Key latency at the X server: a key sent through XTEST, timed until the X server maps the
window it opens (a menu), so that no tool's own start-up is counted."""

import ctypes
import time

KEY_PRESS, KEY_RELEASE, UNMAP_NOTIFY, MAP_NOTIFY = 2, 3, 18, 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


def _libraries():
    x11 = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
    p, ul = ctypes.c_void_p, ctypes.c_ulong
    for name, result, arguments in [
            ("XOpenDisplay", p, [ctypes.c_char_p]), ("XCloseDisplay", ctypes.c_int, [p]),
            ("XDefaultRootWindow", ul, [p]), ("XSelectInput", ctypes.c_int, [p, ul, ctypes.c_long]),
            ("XStringToKeysym", ul, [ctypes.c_char_p]), ("XKeysymToKeycode", ctypes.c_ubyte, [p, ul]),
            ("XFlush", ctypes.c_int, [p]), ("XPending", ctypes.c_int, [p]),
            ("XNextEvent", ctypes.c_int, [p, p])]:
        function = getattr(x11, name)
        function.restype, function.argtypes = result, arguments
    xtst.XTestFakeKeyEvent.restype = ctypes.c_int
    xtst.XTestFakeKeyEvent.argtypes = [p, ctypes.c_uint, ctypes.c_int, ul]
    return x11, xtst


class KeyTimer:
    """Presses key combinations on `display` and waits for windows to be mapped or unmapped."""

    def __init__(self, display):
        self._x11, self._xtst = _libraries()
        self._dpy = self._x11.XOpenDisplay(display.encode())
        if not self._dpy:
            raise OSError("cannot open display " + display)
        root = self._x11.XDefaultRootWindow(self._dpy)
        self._x11.XSelectInput(self._dpy, root, SUBSTRUCTURE_NOTIFY_MASK)
        self._event = ctypes.create_string_buffer(192)  # sizeof(XEvent)

    def close(self):
        self._x11.XCloseDisplay(self._dpy)

    def keycode(self, name):
        return self._x11.XKeysymToKeycode(self._dpy, self._x11.XStringToKeysym(name.encode()))

    def drain(self):
        while self._x11.XPending(self._dpy):
            self._x11.XNextEvent(self._dpy, self._event)

    def press(self, *names):
        """Presses the keys in order and releases them in reverse; returns the time sent."""
        codes = [self.keycode(n) for n in names]
        for code in codes:
            self._xtst.XTestFakeKeyEvent(self._dpy, code, 1, 0)
        for code in reversed(codes):
            self._xtst.XTestFakeKeyEvent(self._dpy, code, 0, 0)
        self._x11.XFlush(self._dpy)
        return time.monotonic()

    def wait(self, kind, timeout=15.0):
        """The time the next event of `kind` (MAP_NOTIFY, UNMAP_NOTIFY) arrived."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self._x11.XPending(self._dpy):
                self._x11.XNextEvent(self._dpy, self._event)
                if ctypes.c_int.from_buffer(self._event).value == kind:
                    return time.monotonic()
            time.sleep(0.0002)
        raise TimeoutError("no X event %d within %.0f s" % (kind, timeout))
