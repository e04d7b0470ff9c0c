#!/usr/bin/env bash
# The README's radio screenshot, taken from the real program under Xvfb: a loopback ICY station
# with a Windows-1251 song title plays from My Radio's list, the radio category is open.
# Usage: bash docs/shots/radio.sh   (after a build; writes docs/radio-now-playing.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
if [ -z "${ZELMO_SHOT_INNER:-}" ]; then
  export ZELMO_SHOT_INNER=1
  export ZELMO_PULSE_DIR=/tmp/zelmo-shot-pulse
  eval "$(bash scripts/pulse.sh start)"
  trap 'bash "$root/scripts/pulse.sh" stop' EXIT
  xdir=$(mktemp -d /tmp/zelmo-shot-x.XXXXXX)
  mkfifo "$xdir/fd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$xdir/fd" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 60 display <"$xdir/fd"
  status=0
  DISPLAY=":$display" dbus-run-session -- bash "$0" "$@" || status=$?
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$xdir"
  exit $status
fi

work=$(mktemp -d /tmp/zelmo-shot.XXXXXX)
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
cp -a build/AppDir "$work/AppDir"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=20 -ac 2 -ar 44100 -c:a libmp3lame \
  -b:a 128k "$work/tone.mp3"
/usr/bin/python3 tests/radio/stream_server.py "$work" >"$work/server.out" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do grep -q '^PORT' "$work/server.out" 2>/dev/null && break; sleep 0.1; done
base="http://127.0.0.1:$(awk '/^PORT/ {print $2}' "$work/server.out")"
/usr/bin/python3 -c 'import sys, urllib.parse, urllib.request
urllib.request.urlopen(sys.argv[1] + "/set-title?" + urllib.parse.urlencode({"text": "Кино - Группа крови", "enc": "cp1251"})).read()' "$base"
station="$base/tone.mp3?rate=16000&loop=1"
printf '[MyRadio]\r\nMyRNa=Радио Лоопбэк\r\nMyRa=%s\r\n[Radio]\r\nvolume=70\r\n' "$station" >"$work/AppDir/Setting.ini"

(cd "$work" && QT_LOGGING_RULES="qt.webenginecontext.info=false" \
  QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"' \
  "$work/AppDir/zelmo-player" >"$work/program.log" 2>&1) &
pids+=($!)
win=""
for _ in $(seq 1 300); do
  win=$(xdotool search --onlyvisible --name '^Zelmo Player$' 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || { echo "no main window"; tail "$work/program.log"; exit 1; }
sleep 2
xdotool mousemove --window "$win" 128 18 click 1 # the radio category
name=org.mpris.MediaPlayer2.zelmoplayer
for _ in $(seq 1 100); do
  gdbus call --session --dest $name --object-path /org/mpris/MediaPlayer2 \
    --method org.mpris.MediaPlayer2.Player.OpenUri "$station" >/dev/null 2>&1 && break
  sleep 0.2
done
for _ in $(seq 1 150); do
  gdbus call --session --dest $name --object-path /org/mpris/MediaPlayer2 \
    --method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player Metadata 2>/dev/null |
    grep -q 'Группа крови' && break
  sleep 0.2
done
sleep 1
xdotool mousemove --window "$win" 300 515 # rest the pointer over the status line: its tooltip
sleep 2
import -window root "$work/root.png"
geometry=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2} END {printf "%dx%d+%d+%d", w, h + 40, x, y}')
convert "$work/root.png" -crop "$geometry" +repage "$root/docs/radio-now-playing.png"
echo "docs/radio-now-playing.png"
