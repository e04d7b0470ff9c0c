#!/usr/bin/env bash
# Start-up benchmark: the program against a bare Qt program linked to WebEngine and a single web
# view, offscreen and then under Xvfb. Usage: bench/startup/run.sh [--runs N]   (builds first)
set -euo pipefail
cd "$(dirname "$0")/../.."
# A desktop has a session bus. Without one, the D-Bus library starts a bus of its own through the
# X server on the first call (and leaves it running), which no user pays.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- bash "$0" "$@"
fi
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target zelmo-player bench_bare_windows bench_one_webview zelmo_appdir >/dev/null
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
/usr/bin/python3 bench/startup/measure.py --build build "$@"
mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/fd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 60 display <"$work/fd"
DISPLAY=":$display" /usr/bin/python3 bench/startup/measure.py --build build --xvfb "$@"
