# SPDX-License-Identifier: GPL-3.0-or-later
"""The Xlib call the command-line tools lack: the window manager's close request; `declare`
for other callers of libX11."""

import ctypes
import functools


def declare(signatures):
    """libX11 with the result and argument types of the named functions declared."""
    lib = ctypes.CDLL("libX11.so.6")
    for name, (result, arguments) in signatures.items():
        function = getattr(lib, name)
        function.restype, function.argtypes = result, arguments
    return lib


@functools.lru_cache(maxsize=None)
def _xlib():
    return declare({
        "XOpenDisplay": (ctypes.c_void_p, [ctypes.c_char_p]),
        "XCloseDisplay": (ctypes.c_int, [ctypes.c_void_p]),
        "XFlush": (ctypes.c_int, [ctypes.c_void_p]),
        "XInternAtom": (ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]),
        "XSendEvent": (ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_long, ctypes.c_void_p]),
    })


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

