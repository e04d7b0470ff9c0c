#!/usr/bin/python3
"""A notification area that docks nothing: owns the X tray selection (_NET_SYSTEM_TRAY_S0) so that
programs find a tray and may hide into it, until killed. Usage: fake_tray.py   (DISPLAY set)"""
import ctypes
import signal
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


display = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(display)
owner = x11.XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0)
selection = x11.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", 0)
x11.XSetSelectionOwner(display, selection, owner, 0)
# Tell clients already running that a tray has appeared (ClientMessage MANAGER on the root).
event = XClientMessageEvent(type=33, send_event=1, display=display, window=root,
                            message_type=x11.XInternAtom(display, b"MANAGER", 0), format=32)
event.data[0], event.data[1], event.data[2] = 0, selection, owner
x11.XSendEvent(display, root, 0, 1 << 17, ctypes.byref(event))  # StructureNotifyMask
x11.XFlush(display)
signal.signal(signal.SIGTERM, lambda *_: exit(0))
while True:
    time.sleep(3600)
