#!/usr/bin/env bash
# The real program's radio seen from the desktop: on its own session bus, driven only through
# MPRIS with gdbus, playing a loopback ICY station into the PulseAudio null sink.
# Usage: run_radio_e2e.sh <AppDir>   (needs PULSE_SERVER of a daemon with the null sink "testsink")
set -uo pipefail
appdir_src=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in dbus-run-session gdbus pactl ffmpeg; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
pactl list short sinks 2>/dev/null | grep -q testsink || { echo "SKIP: no PulseAudio null sink"; exit 77; }
if [ -z "${ZELMO_RADIO_E2E_INNER:-}" ]; then
  export ZELMO_RADIO_E2E_INNER=1
  exec dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d /tmp/zelmo-radio-e2e.XXXXXX)
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
cp -a "$appdir_src" "$work/AppDir"
pid=""
server=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/program.log" ] && tail -20 "$work/program.log"; exit 1; }

ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=20 -ac 2 -ar 44100 -c:a libmp3lame \
  -b:a 128k "$work/tone.mp3" || fail "no test tone"
/usr/bin/python3 "$here/../radio/stream_server.py" "$work" >"$work/server.out" 2>&1 &
server=$!
for _ in $(seq 1 100); do grep -q '^PORT' "$work/server.out" 2>/dev/null && break; sleep 0.1; done
port=$(awk '/^PORT/ {print $2}' "$work/server.out")
[ -n "$port" ] || fail "stream server did not start"
base="http://127.0.0.1:$port"
title() { # text codec
  /usr/bin/python3 -c 'import sys, urllib.parse, urllib.request
urllib.request.urlopen(sys.argv[1] + "/set-title?" + urllib.parse.urlencode({"text": sys.argv[2], "enc": sys.argv[3]})).read()' \
    "$base" "$1" "$2" || fail "set-title"
}
station="$base/tone.mp3?rate=16000&loop=1"
printf '[MyRadio]\r\nMyRNa=Радио Лоопбэк\r\nMyRa=%s\r\n[Radio]\r\nvolume=40\r\n' "$station" >"$work/AppDir/Setting.ini"
title "ДДТ - Что такое осень" cp1251

cd "$work"
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.webenginecontext.info=false" "$work/AppDir/zelmo-player" \
  >"$work/program.log" 2>&1 &
pid=$!

name=org.mpris.MediaPlayer2.zelmoplayer
get() { gdbus call --session --dest $name --object-path /org/mpris/MediaPlayer2 \
  --method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1" 2>/dev/null; }
player() { gdbus call --session --dest $name --object-path /org/mpris/MediaPlayer2 \
  --method "org.mpris.MediaPlayer2.Player.$1" "${@:2}" >/dev/null || fail "call $1"; }
wait_for() { # seconds, command...: until the command succeeds
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 5))); do "$@" && return 0; sleep 0.2; done
  return 1
}
has() { get "$1" | grep -qF -- "$2"; }
playing_into_sink() { pactl list sink-inputs 2>/dev/null | grep -q 'application.name = "Zelmo Player"'; }

wait_for 60 get PlaybackStatus >/dev/null || fail "no MPRIS service on the bus"
gdbus call --session --dest $name --object-path /org/mpris/MediaPlayer2 --method org.freedesktop.DBus.Properties.Get \
  org.mpris.MediaPlayer2 Identity | grep -qF "'Zelmo Player'" || fail "Identity"
has Volume "<0.40" || fail "stored volume not restored: $(get Volume)"
has PlaybackStatus "'Stopped'" || fail "plays before anything was chosen"

# A station as My Radio would play it: named from My Radio, its cp1251 title decoded.
player OpenUri "$station"
wait_for 30 has PlaybackStatus "'Playing'" || fail "did not start playing"
wait_for 30 has Metadata "'xesam:title': <'ДДТ - Что такое осень'>" || fail "title: $(get Metadata)"
has Metadata "'xesam:album': <'Радио Лоопбэк'>" || fail "station: $(get Metadata)"
wait_for 30 playing_into_sink || fail "nothing plays into the sink"
title "Кино - Группа крови" utf-8
wait_for 30 has Metadata "'xesam:title': <'Кино - Группа крови'>" || fail "title change: $(get Metadata)"

# Stop is radio off: the sink is silent; Play brings the same station back.
player Stop
wait_for 20 has PlaybackStatus "'Stopped'" || fail "Stop"
wait_for 20 bash -c '! pactl list sink-inputs | grep -q "application.name = \"Zelmo Player\""' || fail "still playing after Stop"
player PlayPause
wait_for 30 has PlaybackStatus "'Playing'" || fail "PlayPause did not play the last station"
wait_for 30 playing_into_sink || fail "no sound after PlayPause"

# The volume set from the desktop moves the bar, and the bar's position is stored.
gdbus call --session --dest $name --object-path /org/mpris/MediaPlayer2 --method org.freedesktop.DBus.Properties.Set \
  org.mpris.MediaPlayer2.Player Volume "<0.25>" >/dev/null || fail "set Volume"
wait_for 10 has Volume "<0.25" || fail "Volume after Set: $(get Volume)"
wait_for 10 grep -qa 'volume=25' "$work/AppDir/Setting.ini" || fail "volume not stored: $(cat "$work/AppDir/Setting.ini")"
echo "PASS: radio over MPRIS"

# Without its GStreamer module the program still runs: it says why there is no sound and nothing
# plays, instead of failing silently or hanging.
kill -9 "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.webenginecontext.info=false;zelmo.audio.warning=true" \
  ZELMO_GST_MODULE="$work/no-such-module.so" "$work/AppDir/zelmo-player" >"$work/program.log" 2>&1 &
pid=$!
wait_for 60 get PlaybackStatus >/dev/null || fail "no MPRIS service without the module"
wait_for 30 grep -qa "the GStreamer module cannot be loaded" "$work/program.log" || fail "no reason logged"
player OpenUri "$station"
sleep 2
has PlaybackStatus "'Playing'" && fail "plays without its module"
get PlaybackStatus >/dev/null || fail "no longer answers"
echo "PASS: a missing GStreamer module is reported"
