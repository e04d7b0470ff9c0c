#!/usr/bin/env bash
# Now playing, reconnect and the station directory, on loopback servers:
#  - reconnect: sound back after the station's server is killed and started again on its port;
#  - CPU while playing, with the song title changing every second (Windows-1251 ICY titles) and
#    without any title, same engine, same stream;
#  - the directory window listing 1,000 stations after the server's last byte.
# Usage: bash bench/radio/run_nowplaying.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${1:-30}
[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_radio_player bench_radio_reconnect bench_directory >/dev/null
bench="$root/build/bench"

work=$(mktemp -d)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/zelmo-xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export ZELMO_PULSE_DIR=${BENCH_PULSE_DIR:-/tmp/zelmo-pulse-bench}
eval "$(bash scripts/pulse.sh start)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  bash "$root/scripts/pulse.sh" stop
  rm -rf "$work"
}
trap cleanup EXIT
sox -n -r 44100 -c 2 -b 16 "$work/source.wav" synth 5 pinknoise pinknoise \
  synth 5 sine mix 110-1760 square mix 1760-220 tremolo 4 70 repeat 11 gain -n -3
ffmpeg -loglevel error -y -i "$work/source.wav" -c:a libmp3lame -b:a 128k -id3v2_version 0 -write_xing 0 \
  "$work/music.mp3"
echo "$(nproc) cores, load $(cut -d" " -f1-3 /proc/loadavg)"

echo; echo "reconnect after a server restart (5 runs):"
"$bench/bench_radio_reconnect" "$root/tests/radio/stream_server.py" "$work" 5

/usr/bin/python3 tests/radio/stream_server.py "$work" >"$work/server.out" &
server_pid=$!
for _ in $(seq 1 100); do grep -q PORT "$work/server.out" 2>/dev/null && break; sleep 0.05; done
url="http://127.0.0.1:$(awk '/PORT/ {print $2}' "$work/server.out")/music.mp3?rate=16000&loop=1"
measure() { /usr/bin/python3 "$root/bench/radio/measure.py" "$@"; }
cd "$work"
plain=$(measure load "$seconds" -- "$bench/bench_radio_player" "$url" $((seconds + 10)))
titled=$(BENCH_TITLE_EVERY_MS=1000 measure load "$seconds" -- "$bench/bench_radio_player" "$url" $((seconds + 10)))
echo; echo "load over ${seconds} s (CPU % of one core; PSS of the process tree):"
printf '  %-40s %s\n' "playing, no song titles" "$plain" "playing, a new title every second" "$titled"

echo; echo "directory window:"
QT_QPA_PLATFORM=offscreen "$bench/bench_directory" 1000 9
echo "load average after the run: $(cut -d" " -f1-3 /proc/loadavg)"
