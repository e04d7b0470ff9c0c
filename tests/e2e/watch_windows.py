#!/usr/bin/python3
"""Watches the X server for top-level windows of the program being re-created.

A shown window keeps its X window until it is hidden: the toolkit hides a window (and tells the
window manager so with a synthetic UnmapNotify) before it destroys it, as Qt does when a window is
closed. When a shown window is re-created instead (to change its surface type, say), its X window
is destroyed while still shown: the user sees the window vanish and reappear, and whatever was set
on the old X window (title, transient parent) is gone. This script follows every top-level window
the program maps and fails if one is destroyed while shown.

Usage: watch_windows.py LOGFILE CLASS
  Creates LOGFILE.ready once it listens. Runs until SIGTERM or SIGINT, then writes its verdict to
  LOGFILE and exits 0 (no window re-created) or 1. CLASS is matched (case-insensitively) against
  the window's WM_CLASS.
  Start it before the program and stop it before the program is asked to quit."""
import ctypes
import select
import signal
import sys
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
Display = ctypes.c_void_p
Window = ctypes.c_ulong
Atom = ctypes.c_ulong

x11.XOpenDisplay.restype = Display
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [Display]
x11.XSelectInput.argtypes = [Display, Window, ctypes.c_long]
x11.XConnectionNumber.argtypes = [Display]
x11.XPending.argtypes = [Display]
x11.XNextEvent.argtypes = [Display, ctypes.c_void_p]
x11.XInternAtom.restype = Atom
x11.XInternAtom.argtypes = [Display, ctypes.c_char_p, ctypes.c_int]
x11.XGetWindowProperty.argtypes = [Display, Window, Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int, Atom,
                                   ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_void_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [Display, ctypes.c_int]
x11.XFlush.argtypes = [Display]

# A window may be gone by the time its properties are read: errors are expected and ignored.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, Display, ctypes.c_void_p)
ignore_errors = ERROR_HANDLER(lambda d, e: 0)
x11.XSetErrorHandler(ignore_errors)

CREATE_NOTIFY, DESTROY_NOTIFY, UNMAP_NOTIFY, MAP_NOTIFY = 16, 17, 18, 19
STRUCTURE_NOTIFY_MASK = 1 << 17
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
ANY_PROPERTY_TYPE = 0


class Header(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", Display)]


class CreateEvent(ctypes.Structure):
    _fields_ = Header._fields_ + [("parent", Window), ("window", Window), ("x", ctypes.c_int),
                                  ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                                  ("border_width", ctypes.c_int), ("override_redirect", ctypes.c_int)]


class WindowEvent(ctypes.Structure):  # the common head of Destroy/Unmap/Map notifications
    _fields_ = Header._fields_ + [("event", Window), ("window", Window)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("create", CreateEvent), ("win", WindowEvent),
                ("pad", ctypes.c_long * 24)]


def get_property(display, window, name):
    atom = x11.XInternAtom(display, name, 0)
    actual_type, fmt = Atom(), ctypes.c_int()
    count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
    status = x11.XGetWindowProperty(display, window, atom, 0, 1024, 0, ANY_PROPERTY_TYPE, ctypes.byref(actual_type),
                                    ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
    if status != 0 or not data.value:
        return None
    try:
        if fmt.value == 8:
            return ctypes.string_at(data.value, count.value)
        if fmt.value == 32:  # returned as C longs
            return list((ctypes.c_ulong * count.value).from_address(data.value))
        return None
    finally:
        x11.XFree(data)


def main():
    log_path, wanted_class = sys.argv[1], sys.argv[2].lower().encode()
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open display")
    root = x11.XDefaultRootWindow(display)
    x11.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
    x11.XSync(display, 0)
    open(log_path + ".ready", "w").close()

    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(1))
    signal.signal(signal.SIGINT, lambda *_: stop.append(1))

    started = time.monotonic()
    candidates = set()  # created as top-levels, not override-redirect
    windows = {}  # program windows mapped at least once: id -> dict(name, shown, mapped_at)
    closed = 0
    recreated = []
    fd = x11.XConnectionNumber(display)
    event = XEvent()
    while not stop:
        if not x11.XPending(display):
            try:
                select.select([fd], [], [], 0.1)
            except InterruptedError:
                pass
            continue
        x11.XNextEvent(display, ctypes.byref(event))
        now = time.monotonic() - started
        w = event.win.window
        if event.type == CREATE_NOTIFY and event.create.parent == root and not event.create.override_redirect:
            w = event.create.window
            candidates.add(w)
            # Follow the window itself: after a window manager reparents it, the root hears no more.
            x11.XSelectInput(display, w, STRUCTURE_NOTIFY_MASK)
            x11.XFlush(display)
        elif event.type == MAP_NOTIFY and w in candidates:
            if w not in windows:
                wm_class = get_property(display, w, b"WM_CLASS") or b""
                if wanted_class not in wm_class.lower():
                    candidates.discard(w)
                    continue
                name = (get_property(display, w, b"_NET_WM_NAME") or b"").decode(errors="replace")
                windows[w] = {"name": name, "mapped_at": now}
            windows[w]["shown"] = True
        elif event.type == UNMAP_NOTIFY and event.win.send_event and w in windows:
            # The toolkit hides a window before it destroys it (closing, deleting); the synthetic
            # UnmapNotify it sends to the root for the window manager says so.
            windows[w]["shown"] = False
        elif event.type == DESTROY_NOTIFY and w == event.win.event:
            candidates.discard(w)
            info = windows.pop(w, None)
            if info and info["shown"]:
                recreated.append(f"0x{w:x} ('{info['name']}', mapped at {info['mapped_at']:.2f} s, "
                                 f"destroyed while shown at {now:.2f} s)")
            elif info:
                closed += 1

    seen = len(windows) + closed + len(recreated)
    if recreated:
        verdict = "top-level windows destroyed while the program ran (re-created): " + "; ".join(recreated)
    else:
        verdict = f"{seen} top-level X windows, none destroyed while shown ({closed} closed first)"
    with open(log_path, "w") as f:
        f.write(verdict + "\n")
    print(verdict)
    sys.exit(1 if recreated else 0)


if __name__ == "__main__":
    main()
