#!/usr/bin/env bash
# Native TV against GStreamer alone on the same loopback HLS stream (1080p50 H.264/AAC by default),
# both drawing into a real window on a private X display: time to the first picture, then CPU and
# memory while playing, and the longest time the TV held the UI thread.
# Usage: bash bench/video/run.sh [SECONDS]
#   BENCH_REPEATS: runs for the first picture (default 7); BENCH_SIZE (1920x1080), BENCH_RATE (50);
#   BENCH_OURS: another build's bench_video_player, to compare before and after a change.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
if [ -z "${ZELMO_XSESSION_INNER:-}" ]; then
  exec bash bench/xsession.sh bash "$0" "$@"
fi
seconds=${1:-20}
repeats=${BENCH_REPEATS:-7}
size=${BENCH_SIZE:-1920x1080}
rate=${BENCH_RATE:-50}

if [ -z "${BENCH_OURS:-}" ]; then
  [ -d build ] || bash scripts/build.sh
  cmake --build build --target bench_video_player >/dev/null
fi
ours=${BENCH_OURS:-$root/build/bench/bench_video_player}

export ZELMO_PULSE_DIR=${BENCH_PULSE_DIR:-/tmp/zelmo-pulse-bench}
eval "$(bash scripts/pulse.sh start)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  bash "$root/scripts/pulse.sh" stop
}
trap cleanup EXIT

# Encoding 1080p50 takes a while on a busy machine: the media is kept between runs.
duration=$((seconds + 20))
media=${BENCH_MEDIA_DIR:-/tmp/zelmo-bench-video-$size-$rate-$duration}
if [ ! -f "$media/live.m3u8" ]; then
  mkdir -p "$media"
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=$rate" -f lavfi -i sine=frequency=440 \
    -t "$duration" -c:v libx264 -preset ultrafast -tune zerolatency -g "$((rate * 2))" -pix_fmt yuv420p \
    -c:a aac -ac 2 -f hls -hls_time 2 -hls_list_size 0 -hls_segment_filename "$media/seg%d.ts" \
    "$media/live.tmp.m3u8"
  mv "$media/live.tmp.m3u8" "$media/live.m3u8"
fi
out=$(mktemp)
/usr/bin/python3 tests/tv/video_server.py "$media" >"$out" </dev/null &
server_pid=$!
for _ in $(seq 1 100); do grep -q PORT "$out" 2>/dev/null && break; sleep 0.05; done
port=$(awk '/PORT/ {print $2}' "$out")
rm -f "$out"
url="http://127.0.0.1:$port/live.m3u8"
measure() { /usr/bin/python3 "$root/bench/video/measure.py" "$@"; }

echo "Stream: $url (HLS, $size H.264/AAC at $rate fps, 2 s segments); $(nproc) cores," \
  "load $(cut -d" " -f1-3 /proc/loadavg)"
echo "Ours: $ours"
# gst-launch with a window sink; an identity in front of it announces every picture (-v), the first
# such line is the first picture.
gst_first=(gst-launch-1.0 -v playbin "uri=$url" "video-sink=identity name=vsink silent=false ! ximagesink")
# A lone factory name is not taken as a sink here; a one-link bin description is.
gst_play=(gst-launch-1.0 -q playbin "uri=$url" "video-sink=identity ! ximagesink")
first_ours=$(measure first "$repeats" '^FIRST_FRAME' -- "$ours" "$url" 20)
first_gst=$(measure first "$repeats" 'vsink: last-message = (preroll|chain)' -- "${gst_first[@]}")
load_ours=$(measure load "$seconds" -- "$ours" "$url" $((seconds + 10)))
load_gst=$(measure load "$seconds" -- "${gst_play[@]}")

printf '\n%s\n' "first picture"
printf '  %-34s %s\n' "zelmo TV (view in a window)" "$first_ours" "gst-launch-1.0 playbin, ximagesink" "$first_gst"
printf '\n%s\n' "load over ${seconds} s (CPU % of one core; PSS of the process tree)"
printf '  %-34s %s\n' "zelmo TV, playing" "$load_ours" "gst-launch-1.0 playbin, ximagesink" "$load_gst"
echo "load average after the run: $(cut -d" " -f1-3 /proc/loadavg)"
