# SPDX-License-Identifier: GPL-3.0-or-later
"""The few Xlib calls the command-line tools lack: the window manager's close request, and
reading single screen pixels fast."""

import ctypes
import functools


@functools.lru_cache(maxsize=None)
def _xlib():
    lib = ctypes.CDLL("libX11.so.6")
    signatures = {
        "XOpenDisplay": (ctypes.c_void_p, [ctypes.c_char_p]),
        "XCloseDisplay": (ctypes.c_int, [ctypes.c_void_p]),
        "XFlush": (ctypes.c_int, [ctypes.c_void_p]),
        "XInternAtom": (ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]),
        "XSendEvent": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_long, ctypes.c_void_p]),
        "XDefaultRootWindow": (ctypes.c_ulong, [ctypes.c_void_p]),
        "XGetImage": (ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                        ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                        ctypes.c_ulong, ctypes.c_int]),
        "XGetPixel": (ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]),
        "XDestroyImage": (ctypes.c_int, [ctypes.c_void_p]),
    }
    for name, (result, arguments) in signatures.items():
        function = getattr(lib, name)
        function.restype, function.argtypes = result, arguments
    return lib


def _open(display_name):
    dpy = _xlib().XOpenDisplay(display_name.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display_name}")
    return dpy


class _XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessage), ("pad", ctypes.c_long * 24)]


def send_close_request(display_name, window):
    """What a window manager sends when the title bar's close button is pressed."""
    lib = _xlib()
    dpy = _open(display_name)
    try:
        event = _XEvent()
        message = event.xclient
        message.type = 33  # ClientMessage
        message.window = window
        message.message_type = lib.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        message.format = 32
        message.data[0] = lib.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        message.data[1] = 0  # CurrentTime
        lib.XSendEvent(dpy, window, 0, 0, ctypes.byref(event))
        lib.XFlush(dpy)
    finally:
        lib.XCloseDisplay(dpy)


class ScreenProbe:
    """Reads single pixels of the X screen (a fraction of a millisecond each)."""

    def __init__(self, display_name):
        self._dpy = _open(display_name)
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
