#!/usr/bin/python3
"""Asks an X11 window to close the way a window manager does (WM_DELETE_WINDOW), so the program
runs its ordinary close path. Usage: close_window.py <window id>
Exit status 0 when the request was delivered, 2 when the window no longer exists (the caller may
look the window up again and retry), 1 when the display cannot be opened."""
import ctypes
import sys

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

# Xlib's default error handler ends the process on any error, e.g. BadWindow for a window that
# has just gone; count errors instead and report them through the exit status.
errors = []
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
on_error = ERROR_HANDLER(lambda display, event: errors.append(1) or 0)
x11.XSetErrorHandler(on_error)


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33

window = int(sys.argv[1], 0)
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open display")
event = XEvent()
event.xclient.type = CLIENT_MESSAGE
event.xclient.window = window
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.xclient.data[1] = 0  # CurrentTime
x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x11.XSync(display, 0)
x11.XCloseDisplay(display)
if errors:
    print(f"window 0x{window:x} is gone")
    sys.exit(2)
