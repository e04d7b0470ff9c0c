#!/usr/bin/env bash
# The real program in each of its five languages, under Xvfb with a window manager and the
# accessibility bus: every window is walked by keyboard and read as a screen reader reads it
# (walk_windows.py). A last start with the desktop's accessibility switched on over the session
# bus, not by a variable, must expose a web page's content.
# Usage: run_walk_e2e.sh <AppDir> <source dir>
set -uo pipefail
appdir_src=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool xwininfo openbox dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "SKIP: python3-pyatspi not installed"; exit 77; }
if [ -z "${ZELMO_E2E_INNER:-}" ]; then
  export ZELMO_E2E_INNER=1
  xdir=$(mktemp -d /tmp/zelmo-walk-x.XXXXXX)
  mkfifo "$xdir/fd"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$xdir/fd" >"$xdir/xvfb.log" 2>&1 &
  xvfb=$!
  display=""
  read -r -t 60 display <"$xdir/fd" || true
  [ -n "$display" ] || { echo "FAIL: Xvfb did not start"; cat "$xdir/xvfb.log"; kill "$xvfb"; exit 1; }
  DISPLAY=":$display" dbus-run-session -- bash "$0" "$@"
  rc=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$xdir"
  exit $rc
fi

unset QT_QPA_PLATFORM
work=$(mktemp -d /tmp/zelmo-walk.XXXXXX)
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
cp -a "$appdir_src" "$work/AppDir"
pid=""
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
atspi=$!
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.2
done
cleanup() {
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
  kill "$wm" "$atspi" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/program.log" ] && tail -20 "$work/program.log"; exit 1; }

start() { # the language's fixed caption
  printf '[Language]\nuseLanguage=%s\n' "$1" >"$work/AppDir/Setting.ini"
  cd "$work"
  QT_LOGGING_RULES="qt.webenginecontext.info=false" "$work/AppDir/zelmo-player" >"$work/program.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 120); do
    xdotool search --onlyvisible --name '^Zelmo Player$' >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || fail "program ended before showing its window"
    sleep 0.5
  done
  fail "main window did not appear within 60 s"
}
stop() {
  win=$(xdotool search --onlyvisible --name '^Zelmo Player$' 2>/dev/null | head -1)
  [ -n "$win" ] && /usr/bin/python3 "$here/close_window.py" "$win"
  for _ in $(seq 1 60); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  kill -0 "$pid" 2>/dev/null && fail "program still running 30 s after its window was closed"
  wait "$pid"
  pid=""
}

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Russian first: the Ukrainian and Belarusian runs compare with what it showed.
for pair in "ru:Русский [Ru]" "uk:Украинский [Ua]" "en:Английский [En]" "be:Белорусский [Blr]" "zh:Китайский [Chi]"; do
  lang=${pair%%:*}
  echo "== $lang"
  start "${pair#*:}"
  /usr/bin/python3 "$here/walk_windows.py" "$lang" "$pid" "$work" "$src" || fail "walk in $lang"
  stop
done

# The desktop says a screen reader runs (org.a11y.Status on the session bus); no variable helps.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
  string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:true >/dev/null ||
  fail "cannot switch the desktop's screen reader setting on"
start "Русский [Ru]"
/usr/bin/python3 "$here/check_web_content.py" || fail "web page content not exposed"
stop
echo "PASS: five languages walked, web content exposed with the desktop's screen reader setting"
