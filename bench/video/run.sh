#!/usr/bin/env bash
# Native TV against GStreamer alone on the same loopback HLS stream (640x360 H.264/AAC, 25 fps):
# time to the first picture, then CPU and memory while playing.
# Usage: bash bench/video/run.sh [SECONDS]   (BENCH_REPEATS: runs for the first picture, default 7)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${1:-20}
repeats=${BENCH_REPEATS:-7}

[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_video_player >/dev/null
ours="$root/build/bench/bench_video_player"

work=$(mktemp -d)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/zelmo-xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export ZELMO_PULSE_DIR=${BENCH_PULSE_DIR:-/tmp/zelmo-pulse-bench}
eval "$(bash scripts/pulse.sh start)"
export QT_QPA_PLATFORM=offscreen
unset DISPLAY
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  bash "$root/scripts/pulse.sh" stop
  rm -rf "$work"
}
trap cleanup EXIT

duration=$((seconds + 20))
ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=640x360:rate=25 -f lavfi -i sine=frequency=440 \
  -t "$duration" -c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p -c:a aac -ac 2 \
  -f hls -hls_time 2 -hls_list_size 0 -hls_segment_filename "$work/seg%d.ts" "$work/live.m3u8"
/usr/bin/python3 tests/tv/video_server.py "$work" >"$work/server.out" &
server_pid=$!
for _ in $(seq 1 100); do grep -q PORT "$work/server.out" 2>/dev/null && break; sleep 0.05; done
port=$(awk '/PORT/ {print $2}' "$work/server.out")
url="http://127.0.0.1:$port/live.m3u8"
measure() { /usr/bin/python3 "$root/bench/video/measure.py" "$@"; }

echo "Stream: $url (HLS, 640x360 H.264/AAC at 25 fps, 2 s segments); $(nproc) cores," \
  "load $(cut -d" " -f1-3 /proc/loadavg)"
# gst-launch: the video fakesink announces every buffer (-v); the first such line is the first picture.
gst_first=(gst-launch-1.0 -v playbin "uri=$url" "video-sink=fakesink name=vsink silent=false sync=true")
gst_play=(gst-launch-1.0 -q playbin "uri=$url" "video-sink=fakesink sync=true")
# The same pipeline as ours without the program: playbin converting to BGRx for a synchronised sink.
gst_same=(gst-launch-1.0 -q playbin "uri=$url" "video-sink=videoconvert ! video/x-raw,format=BGRx ! fakesink sync=true")
first_ours=$(measure first "$repeats" '^FIRST_FRAME' -- "$ours" "$url" 20)
first_gst=$(measure first "$repeats" 'vsink: last-message = (preroll|chain)' -- "${gst_first[@]}")
load_ours=$(measure load "$seconds" -- "$ours" "$url" $((seconds + 10)))
load_gst=$(measure load "$seconds" -- "${gst_play[@]}")
load_same=$(measure load "$seconds" -- "${gst_same[@]}")

printf '\n%s\n' "first picture"
printf '  %-34s %s\n' "zelmo TV (appsink, view painted)" "$first_ours" "gst-launch-1.0 playbin, fakesink" "$first_gst"
printf '\n%s\n' "load over ${seconds} s (CPU % of one core; PSS of the process tree)"
printf '  %-34s %s\n' "zelmo TV, playing" "$load_ours" "gst-launch-1.0 playbin, fakesink" "$load_gst" \
  "gst-launch-1.0, BGRx to fakesink" "$load_same"
echo "load average after the run: $(cut -d" " -f1-3 /proc/loadavg)"
