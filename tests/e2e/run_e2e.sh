#!/usr/bin/env bash
# End-to-end run of the real program under Xvfb: a fresh copy of the AppDir is started, its main
# window is looked at, clicked and closed, and the process must end cleanly.
# Usage: run_e2e.sh <AppDir>
set -uo pipefail
appdir_src=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool xwininfo xprop openbox import convert dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "SKIP: python3-pyatspi not installed"; exit 77; }
if [ -z "${ZELMO_E2E_INNER:-}" ]; then
  export ZELMO_E2E_INNER=1
  # A private display and session bus, so the accessibility tree holds only this program.
  # Xvfb picks a free display itself and reports it (-displayfd), which stays reliable on a busy
  # machine where guessing a free number and waiting for the server is not.
  xdir=$(mktemp -d /tmp/zelmo-e2e-x.XXXXXX)
  display=""
  for attempt in 1 2 3; do
    rm -f "$xdir/fd"
    mkfifo "$xdir/fd"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$xdir/fd" >"$xdir/xvfb.log" 2>&1 &
    xvfb=$!
    display=""
    read -r -t 60 display <"$xdir/fd" || true
    # The server must also answer. (-noreset: without it the server resets whenever its last
    # client leaves, and a client connecting at that moment is refused.)
    if [ -n "$display" ] && xwininfo -root -display ":$display" >/dev/null 2>&1; then
      break
    fi
    echo "Xvfb attempt $attempt failed (display '${display}')"; cat "$xdir/xvfb.log"
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    display=""
  done
  if [ -z "$display" ]; then
    echo "FAIL: Xvfb did not start"; rm -rf "$xdir"; exit 1
  fi
  DISPLAY=":$display" dbus-run-session -- bash "$0" "$@"
  rc=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$xdir"
  exit $rc
fi

unset QT_QPA_PLATFORM
work=$(mktemp -d /tmp/zelmo-e2e.XXXXXX)
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
cp -a "$appdir_src" "$work/AppDir"
pid=""
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
atspi=$!
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
watch=""
# A real window manager, so that stacking, on-top state and transient windows behave as on a desktop.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.2
done
cleanup() {
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
  [ -n "$watch" ] && kill "$watch" 2>/dev/null
  kill "$wm" 2>/dev/null
  kill "$atspi" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/program.log" ] && tail -20 "$work/program.log"; exit 1; }

# Mean pixel difference (0..1) of one region between two screenshots.
region_diff() { # shotA shotB WxH+X+Y
  convert \( "$1" -crop "$3" +repage \) \( "$2" -crop "$3" +repage \) -compose difference -composite \
    -format '%[fx:mean]' info:
}
shot() { import -window root "$1" 2>/dev/null || fail "screenshot $1"; }

cd "$work"
# Every top-level window keeps one X window while the program runs (watch_windows.py).
/usr/bin/python3 "$here/watch_windows.py" "$work/windows.log" zelmo >/dev/null 2>&1 &
watch=$!
for _ in $(seq 1 100); do [ -f "$work/windows.log.ready" ] && break; sleep 0.1; done
[ -f "$work/windows.log.ready" ] || fail "window watch did not start"
QT_LOGGING_RULES="qt.webenginecontext.info=false" "$work/AppDir/zelmo-player" >"$work/program.log" 2>&1 &
pid=$!

win=""
for _ in $(seq 1 120); do
  win=$(xdotool search --onlyvisible --name '^Zelmo Player$' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || fail "program ended before showing its window"
  sleep 0.5
done
[ -n "$win" ] || fail "main window did not appear within 60 s"

info=$(xwininfo -id "$win")
w=$(awk '/Width:/ {print $2}' <<<"$info")
h=$(awk '/Height:/ {print $2}' <<<"$info")
[ "$w" = 807 ] && [ "$h" = 543 ] || fail "window is ${w}x${h}, not 807x543"
x0=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
y0=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")

# Positions of the bar, panel, grid, headings, radio strip and tool buttons, and the set switch.
/usr/bin/python3 "$here/check_layout.py" || fail "layout check"

# Let the first paint settle, then the screen must show something (not one flat colour).
sleep 2
shot "$work/start.png"
sd=$(convert "$work/start.png" -format '%[fx:standard_deviation]' info:)
awk -v s="$sd" 'BEGIN { exit !(s > 0.02) }' || fail "screen looks blank (standard deviation $sd)"

# The grid: x 600..796, y 4..442 of the main panel at (5, 35).
grid="196x438+$((x0 + 605))+$((y0 + 39))"
view="590x436+$((x0 + 12))+$((y0 + 42))"

# Category "Sport" (sBitBtn6 at 409, 4, 78x28) relabels the grid.
changed=""
for _ in 1 2 3; do
  xdotool mousemove $((x0 + 448)) $((y0 + 18)) click 1
  sleep 1
  shot "$work/sport.png"
  d=$(region_diff "$work/start.png" "$work/sport.png" "$grid")
  if awk -v d="$d" 'BEGIN { exit !(d > 0.002) }'; then changed=1; break; fi
done
[ -n "$changed" ] || fail "clicking a category did not change the grid (diff $d)"

# Its first slot (sBitBtn10 at 600, 4 of the panel) opens a local channel page in the main view.
xdotool mousemove $((x0 + 5 + 632)) $((y0 + 35 + 25)) click 1
changed=""
for _ in $(seq 1 20); do
  sleep 1
  shot "$work/slot.png"
  d=$(region_diff "$work/sport.png" "$work/slot.png" "$view")
  if awk -v d="$d" 'BEGIN { exit !(d > 0.002) }'; then changed=1; break; fi
done
[ -n "$changed" ] || fail "clicking a slot did not change the main view (diff $d)"

# Names of all controls, keyboard reach and focus mark, Escape on a secondary window.
/usr/bin/python3 "$here/check_access.py" "$pid" "$work" || fail "keyboard and accessibility check"

# The programme window (tool button at 675, 495) gets its browser on its first showing, as the main
# window did at start; then no window may have been re-created.
xdotool mousemove $((x0 + 695)) $((y0 + 515)) click 1
painted=""
for _ in $(seq 1 60); do
  sleep 1
  for w2 in $(xdotool search --onlyvisible --class zelmo 2>/dev/null); do
    [ "$w2" = "$win" ] && continue
    g=$(xwininfo -id "$w2" 2>/dev/null | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
      /Width:/ {w=$2} /Height:/ {h=$2} END {if (w > 100) printf "%dx%d+%d+%d", w, h, x, y}')
    [ -n "$g" ] || continue
    shot "$work/programme.png"
    sd=$(convert "$work/programme.png" -crop "$g" +repage -format '%[fx:standard_deviation]' info: 2>/dev/null)
    if awk -v s="${sd:-0}" 'BEGIN { exit !(s > 0.02) }'; then painted=1; break 2; fi
  done
done
sleep 1
kill -TERM "$watch"
wait "$watch" || fail "$(cat "$work/windows.log" 2>/dev/null || echo "window watch failed")"
watch=""
[ -n "$painted" ] || fail "the programme window showed no page within 60 s"

# Windows open above their opener with the main window on top; only the main window's close ends
# the program.
/usr/bin/python3 "$here/check_windows.py" "$pid" || fail "window stacking and lifetime"

# Closed through the window found by its title now (a window id found earlier could be stale).
closed=""
for _ in 1 2 3; do
  win=$(xdotool search --onlyvisible --name '^Zelmo Player$' 2>/dev/null | head -1)
  [ -n "$win" ] && /usr/bin/python3 "$here/close_window.py" "$win" && { closed=1; break; }
  sleep 1
done
[ -n "$closed" ] || fail "could not ask the window to close"
for _ in $(seq 1 60); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
kill -0 "$pid" 2>/dev/null && fail "program still running 30 s after its window was closed"
wait "$pid"
rc=$?
pid=""
[ "$rc" = 0 ] || fail "program exited with $rc"
echo "PASS: window ${w}x${h}, layout as designed, grid and view changed, windows never re-created, clean exit"
