#!/usr/bin/env bash
# The main window at 150 % on a 1366 x 768 screen (QT_SCALE_FACTOR=1.5, as a desktop at that scale
# gives Qt): it must fit on the screen, title bar included, scaled as a whole.
# Usage: run_screen_fit_e2e.sh <AppDir>
set -uo pipefail
appdir_src=$(cd "$1" && pwd)
for tool in Xvfb xdotool xwininfo openbox; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
work=$(mktemp -d /tmp/zelmo-fit.XXXXXX)
mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp -noreset 3>"$work/fd" >"$work/xvfb.log" 2>&1 &
xvfb=$!
display=""
read -r -t 60 display <"$work/fd" || true
pid=""
wm=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/program.log" ] && tail -20 "$work/program.log"; exit 1; }
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
cp -a "$appdir_src" "$work/AppDir"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.2
done
cd "$work"
QT_SCALE_FACTOR=1.5 QT_LOGGING_RULES="qt.webenginecontext.info=false;zelmo.desktop.info=true" \
  "$work/AppDir/zelmo-player" >"$work/program.log" 2>&1 &
pid=$!
win=""
for _ in $(seq 1 120); do
  win=$(xdotool search --onlyvisible --name '^Zelmo Player$' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || fail "program ended before showing its window"
  sleep 0.5
done
[ -n "$win" ] || fail "main window did not appear"
sleep 2
info=$(xwininfo -id "$win")
w=$(awk '/Width:/ {print $2}' <<<"$info")
h=$(awk '/Height:/ {print $2}' <<<"$info")
x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
frame=$(xwininfo -id "$(xwininfo -id "$win" -children | awk '/Parent window id:/ {print $4}')" 2>/dev/null |
  awk '/Absolute upper-left Y:/ {print $4}')
echo "window ${w}x${h} at ${x},${y}; frame top ${frame:-?}"
((x >= 0 && y >= 0 && x + w <= 1366 && y + h <= 768)) || fail "the window runs off the screen"
((${frame:-0} >= 0)) || fail "the title bar is above the screen"
((w > 807)) || fail "the window did not keep a scale above 1 (${w} wide)"
# Scaled as a whole: the proportions of the designed 807 x 543.
awk -v w="$w" -v h="$h" 'BEGIN { r = (w / h) / (807 / 543); exit !(r > 0.98 && r < 1.02) }' ||
  fail "proportions changed: ${w}x${h}"
echo "PASS: at 150 % on 1366x768 the window is ${w}x${h} at ${x},${y}"
