#!/usr/bin/env bash
# Under Xvfb with a window manager: the running program is minimised, a second start brings its
# main window back and makes it the active window, then ends.
# Usage: run_raise.sh <AppDir>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
. "$here/lib.sh"
unset QT_QPA_PLATFORM
work=$(mktemp -d /tmp/zelmo-raise.XXXXXX)
pids=()
trap 'stop "${pids[@]}"; rm -rf "$work"' EXIT
cp -a "$1" "$work/AppDir"
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# A display of our own; Xvfb names a free one itself (-displayfd).
mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/fd" >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 60 display <"$work/fd" || fail "Xvfb did not start"
export DISPLAY=":$display"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 120); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.25; done

main_window() { xdotool search --onlyvisible --name '^Zelmo Player$' 2>/dev/null | head -1; }
hidden() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN; }

cd "$work"
"$work/AppDir/zelmo-player" >"$work/first.log" 2>&1 &
first=$!
pids+=("$first")
wait_for "$work/first.log" "ZELMO_BENCH shown" 180 "$first" || fail "the first copy did not show its window"
sleep 2 # the web view's start may give the window a new X window once
win=$(main_window)
[ -n "$win" ] || fail "main window not found"
xdotool windowminimize --sync "$win" || fail "could not minimise"
for _ in $(seq 1 120); do hidden "$win" && break; sleep 0.25; done
hidden "$win" || fail "the window manager did not minimise the window"

"$work/AppDir/zelmo-player" >"$work/second.log" 2>&1 &
second=$!
pids+=("$second")
wait_exit "$second" 120 || fail "the second copy still runs"
[ "$exit_status" = 0 ] || fail "the second copy ended with $exit_status"

back=""
for _ in $(seq 1 120); do
  win=$(main_window)
  if [ -n "$win" ] && ! hidden "$win" &&
    [ "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')" = "$(printf '0x%x' "$win")" ]; then
    back=1
    break
  fi
  sleep 0.25
done
[ -n "$back" ] || fail "the main window did not come back to the front (state: $(xprop -id "$win" _NET_WM_STATE))"
echo "PASS: a second start brought the minimised window back and ended"
