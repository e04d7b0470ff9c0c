#!/usr/bin/env bash
# Compares the radio engine with mpv and gst-launch-1.0 on the same loopback stream in one run:
# time from process start to the first sound on the null sink's monitor, then CPU and memory
# over 30 s of playing, of playing while recording, and of lame alone on the same audio.
# The audio is music-like (pink noise under swept tones with a tremolo), not a pure sine: a sine
# is nearly free to encode and would make lame's share look unrealistically small.
# Usage: bash bench/radio/run.sh [SECONDS]   (BENCH_REPEATS: runs for the first sound, default 9)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${1:-30}
repeats=${BENCH_REPEATS:-9}

[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_radio_player >/dev/null
ours="$root/build/bench/bench_radio_player"

if ! command -v mpv >/dev/null; then
  echo "Installing mpv for the comparison..."
  { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mpv >/dev/null; } ||
    echo "mpv could not be installed: its column stays empty."
fi
have_mpv=$(command -v mpv >/dev/null && echo 1 || echo 0)

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
/usr/bin/python3 tests/radio/stream_server.py "$work" >"$work/server.out" &
server_pid=$!
for _ in $(seq 1 100); do grep -q PORT "$work/server.out" 2>/dev/null && break; sleep 0.05; done
port=$(awk '/PORT/ {print $2}' "$work/server.out")
url="http://127.0.0.1:$port/music.mp3?rate=16000&loop=1"
measure() { /usr/bin/python3 "$root/bench/radio/measure.py" "$@"; }
cd "$work"

declare -A lat load
echo "Stream: $url (128 kbit/s MP3 of music-like noise, paced like a live station), sink: testsink;" \
  "$(nproc) cores, load $(cut -d" " -f1-3 /proc/loadavg)"
lat[ours]=$(measure latency $repeats -- "$ours" "$url" 20)
lat[gst]=$(measure latency $repeats -- gst-launch-1.0 -q playbin "uri=$url")
[ "$have_mpv" = 1 ] && lat[mpv]=$(measure latency $repeats -- mpv --no-config --no-video --really-quiet --ao=pulse "$url")

load[ours]=$(measure load "$seconds" -- "$ours" "$url" $((seconds + 10)))
load[gst]=$(measure load "$seconds" -- gst-launch-1.0 -q playbin "uri=$url")
[ "$have_mpv" = 1 ] && load[mpv]=$(measure load "$seconds" -- mpv --no-config --no-video --really-quiet --ao=pulse "$url")
load[rec]=$(measure load "$seconds" -- "$ours" "$url" $((seconds + 10)) "bench record")

# lame alone, on the same audio decoded to WAVE.
ffmpeg -loglevel error -y -i "$work/music.mp3" -t "$seconds" -ac 2 -ar 44100 "$work/in.wav"
load[lame]=$(/usr/bin/python3 - "$seconds" "$work/in.wav" <<'PY'
import os, subprocess, sys
seconds, wav = float(sys.argv[1]), sys.argv[2]
p = subprocess.Popen(["lame", "--alt-preset", "standard", wav, wav + ".mp3"],
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
_, _, ru = os.wait4(p.pid, 0)
cpu = ru.ru_utime + ru.ru_stime
print(f"cpu_pct={100 * cpu / seconds:.1f} (encodes {seconds:.0f} s of audio in {cpu:.2f} s CPU) max_rss_mib={ru.ru_maxrss / 1024:.1f}")
PY
)

printf '\n%-28s %s\n' "time to first sound (ms)" ""
printf '  %-26s %s\n' "zelmo engine" "${lat[ours]}" "gst-launch-1.0 playbin" "${lat[gst]}" "mpv --no-video" "${lat[mpv]:-not available}"
printf '\n%-28s %s\n' "load over ${seconds} s" "(CPU % of one core; PSS of the process tree)"
printf '  %-26s %s\n' "zelmo engine, playing" "${load[ours]}" "gst-launch-1.0, playing" "${load[gst]}" \
  "mpv, playing" "${load[mpv]:-not available}" "zelmo engine, + recording" "${load[rec]}" "lame alone" "${load[lame]}"
echo "load average after the run: $(cut -d" " -f1-3 /proc/loadavg)"
