#!/usr/bin/env bash
# Radio in the program a user runs, beside mpv: click -> sound for the first station after start,
# a switch and a switch back (bench/radio/clicks.py), then CPU and memory while playing.
# Two loopback stations (128 kbit/s MP3 of music-like noise, paced like live radio), one heard on
# the left channel and one on the right, into a PulseAudio null sink; the program under Xvfb.
# Usage: bash bench/radio/run.sh [RUNS]   (default 7; BENCH_PLAY_SECONDS for the load, default 15)
# BENCH_BASELINE_APPDIR=<another build's AppDir> measures that build too, interleaved, e.g. main's:
#   git worktree add ../base main && (cd ../base && bash scripts/build.sh)
#   BENCH_BASELINE_APPDIR=$(realpath ../base/build/AppDir) bash bench/radio/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
runs=${1:-7}

[ -d build ] || bash scripts/build.sh
cmake --build build -j2 --target zelmo-player zelmo_appdir >/dev/null

if ! command -v mpv >/dev/null; then
  echo "Installing mpv for the comparison..."
  { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mpv >/dev/null; } ||
    echo "mpv could not be installed: its column stays empty."
fi

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export ZELMO_PULSE_DIR=${BENCH_PULSE_DIR:-/tmp/zelmo-pulse-bench}
eval "$(bash scripts/pulse.sh start)"
server_pid="" xvfb=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  bash "$root/scripts/pulse.sh" stop
  rm -rf "$work"
}
trap cleanup EXIT

sox -n -r 44100 -c 2 -b 16 "$work/source.wav" synth 5 pinknoise pinknoise \
  synth 5 sine mix 110-1760 square mix 1760-220 tremolo 4 70 repeat 11 gain -n -3
for side in left right; do
  [ $side = left ] && mix="1 0" || mix="0 2"
  sox "$work/source.wav" "$work/$side.wav" remix $mix
  ffmpeg -loglevel error -y -i "$work/$side.wav" -c:a libmp3lame -b:a 128k -joint_stereo 0 -id3v2_version 0 \
    -write_xing 0 "$work/$side.mp3"
done
/usr/bin/python3 tests/radio/stream_server.py "$work" >"$work/server.out" &
server_pid=$!
for _ in $(seq 1 100); do grep -q PORT "$work/server.out" 2>/dev/null && break; sleep 0.05; done
port=$(awk '/PORT/ {print $2}' "$work/server.out")

mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/fd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 60 display <"$work/fd"
export DISPLAY=":$display"
# Chromium resolves no host names here (the start page is remote): no waiting on a resolver.
export QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP * ~NOTFOUND"'
unset QT_QPA_PLATFORM

echo "$(nproc) cores, load before: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 bench/radio/clicks.py "$root/build/AppDir" \
  "http://127.0.0.1:$port/left.mp3?rate=16000&loop=1" "http://127.0.0.1:$port/right.mp3?rate=16000&loop=1" "$runs" ${BENCH_BASELINE_APPDIR:+"$BENCH_BASELINE_APPDIR"}
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
