#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) with a window manager (openbox), a session bus and
# the accessibility bus, as a desktop has them: windows can be found by caption and minimised.
# Usage: bench/xsession.sh COMMAND [ARGS...]
set -euo pipefail
for tool in Xvfb openbox xdotool xwininfo xprop dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (run scripts/deps.sh)" >&2; exit 1; }
done
if [ -z "${ZELMO_XSESSION_INNER:-}" ]; then
  work=$(mktemp -d)
  trap '[ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
  mkfifo "$work/fd"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/fd" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 60 display <"$work/fd"
  DISPLAY=":$display" ZELMO_XSESSION_INNER=1 dbus-run-session -- bash "$0" "$@"
  exit $?
fi
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
atspi=$!
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" "$atspi" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.2
done
# Both the program and its baselines see the same accessibility bridge, so neither pays alone.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Chromium resolves no host names here: remote pages end as error pages, each still a renderer.
export QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP * ~NOTFOUND"'
export QT_LOGGING_RULES="qt.webenginecontext.info=false"
"$@"
