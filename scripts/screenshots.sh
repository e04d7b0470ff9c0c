#!/usr/bin/env bash
# Screenshots of the real program for the README, made under a private Xvfb display with a window
# manager into docs/. Each picture is one shot_<name> function below; to add one, write the
# function and add its name to SHOTS. Usage: scripts/screenshots.sh [name...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
SHOTS=(main settings radio iptv)
[ $# -gt 0 ] && SHOTS=("$@")

if [ -z "${ZELMO_SHOTS_INNER:-}" ]; then
  bash scripts/build.sh
  export ZELMO_SHOTS_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "${SHOTS[@]}"
fi

work=$(mktemp -d /tmp/zelmo-shots.XXXXXX)
pid=""
wm=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "${station_server:-}" ] && kill "$station_server" 2>/dev/null
  [ -n "${shot_pulse:-}" ] && ZELMO_PULSE_DIR=$shot_pulse bash "$root/scripts/pulse.sh" stop
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# A fresh copy: default settings, nothing written into the build.
cp -a build/AppDir "$work/AppDir"
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# No network: the stand-in sites stay unreachable, local channel pages load.
export QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"'
export QT_LOGGING_RULES="qt.webenginecontext.info=false"
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi

# The radio shot needs a station before the program starts: a loopback ICY stream with a
# Windows-1251 song title, kept in My Radio's first slot, and a sound server with a null sink.
station_server=""
if [[ " ${SHOTS[*]} " == *" radio "* ]]; then
  ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=20 -ac 2 -ar 44100 -c:a libmp3lame \
    -b:a 128k "$work/tone.mp3"
  /usr/bin/python3 tests/radio/stream_server.py "$work" >"$work/server.out" 2>&1 &
  station_server=$!
  for _ in $(seq 1 100); do grep -q '^PORT' "$work/server.out" 2>/dev/null && break; sleep 0.1; done
  station_base="http://127.0.0.1:$(awk '/^PORT/ {print $2}' "$work/server.out")"
  /usr/bin/python3 -c 'import sys, urllib.parse, urllib.request
urllib.request.urlopen(sys.argv[1] + "/set-title?" + urllib.parse.urlencode({"text": "Кино - Группа крови", "enc": "cp1251"})).read()' \
    "$station_base"
  printf '[MyRadio]\r\nMyRNa=Радио Лоопбэк\r\nMyRa=%s\r\n' "$station_base/tone.mp3?rate=16000&loop=1" \
    >"$work/AppDir/Setting.ini"
  shot_pulse=$work/pulse
  eval "$(ZELMO_PULSE_DIR=$shot_pulse bash scripts/pulse.sh start)"
fi

# For the IPTV tab: the test playlist (names as public Russian playlists write them) and a guide of
# today, from files; the program imports them after its first paint.
if [[ " ${SHOTS[*]} " == *" iptv "* ]]; then
  mkdir -p "$work/iptv"
  sed 's|@BASE@|http://iptv.example|g; s|^live/|http://iptv.example/live/|' tests/tv/data/ru_playlist.m3u >"$work/iptv/ru.m3u"
  /usr/bin/python3 - "$work/iptv/epg.xml" <<'PY'
import datetime, sys
now = datetime.datetime.now().astimezone()
day = now.replace(hour=0, minute=0, second=0, microsecond=0)
fmt = lambda t: t.strftime("%Y%m%d%H%M%S %z")
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write('<?xml version="1.0" encoding="UTF-8"?>\n<tv>\n')
    for cid, name in (("1tv", "Первый канал"), ("ntv", "НТВ"), ("tnt", "ТНТ")):
        f.write(f'<channel id="{cid}"><display-name>{name}</display-name></channel>\n')
        for h in range(0, 48, 2):
            start = day + datetime.timedelta(hours=h)
            f.write(f'<programme start="{fmt(start)}" stop="{fmt(start + datetime.timedelta(hours=2))}" '
                    f'channel="{cid}"><title>Передача {h // 2 + 1}</title></programme>\n')
    f.write("</tv>\n")
PY
  printf '[IPTV]\nplaylist=%s\nguide=%s\n' "$work/iptv/ru.m3u" "$work/iptv/epg.xml" >>"$work/AppDir/Setting.ini"
fi

(cd "$work" && exec "$work/AppDir/zelmo-player" >"$work/program.log" 2>&1) &
pid=$!

# window_for <title regex> [seconds]: prints the id of the program's visible window with that title.
window_for() {
  local id=""
  for _ in $(seq 1 $((${2:-60} * 2))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.5
  done
  [ -n "$id" ] || { echo "window '$1' did not appear" >&2; tail -20 "$work/program.log" >&2; exit 1; }
  echo "$id"
}
# click_in <window> <x> <y>: a mouse click at client coordinates.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.3
  xdotool click 1
}
# new_window: the id of a visible program window other than the main one (a dialog just opened).
new_window() {
  local id main
  for _ in $(seq 1 60); do
    main=$(window_for '^Zelmo Player$')
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      [ "$id" != "$main" ] && { echo "$id"; return; }
    done
    sleep 0.5
  done
  echo "no new window; visible: $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tr "\n" " "); all named: $(xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do echo -n "$w:$(xdotool getwindowname "$w") "; done)" >&2
  exit 1
}
capture() { # capture <window> <name>
  import -window "$1" "$root/docs/$2.png"
  echo "docs/$2.png"
}

window_for '^Zelmo Player$' 120 >/dev/null
sleep 3 # the first paint and the web view's start
# The main window is looked up at each use: its X window is re-created once the web view starts.
main() { window_for '^Zelmo Player$'; }

# The main window with the first channel of the first category open.
shot_main() {
  click_in "$(main)" 637 60 # first slot of the grid
  sleep 4
  capture "$(main)" main-window
}

# The settings window on its "Настройки" tab, opened with the gear button of the tool bar and
# closed again with Escape.
shot_settings() {
  click_in "$(main)" 70 515
  local w
  w=$(new_window)
  sleep 1
  click_in "$w" 112 9 # its "Настройки" tab
  sleep 1
  capture "$w" settings
  xdotool windowfocus --sync "$w" key Escape
  sleep 1
}

# The radio category with My Radio's station playing: station, song title and state in the
# bottom row.
shot_radio() {
  click_in "$(main)" 128 18 # "Радио"
  sleep 1
  click_in "$(main)" 758 421 # "Мое радио" in the radio strip
  local w
  w=$(new_window)
  sleep 1
  click_in "$w" 47 27 # the first station
  sleep 1
  xdotool windowfocus --sync "$w" key Escape
  sleep 6 # connected, and the first title block has come
  xdotool mousemove --window "$(main)" 700 200
  capture "$(main)" radio-now-playing
}

# The settings window on its "IPTV" tab, the last one, after the start-up import.
shot_iptv() {
  click_in "$(main)" 70 515
  local w
  w=$(new_window)
  sleep 1
  click_in "$w" 454 9 # its "IPTV" tab, the last one
  sleep 1
  capture "$w" iptv-tab
  xdotool windowfocus --sync "$w" key Escape
  sleep 1
}

for s in "${SHOTS[@]}"; do
  "shot_$s"
done
