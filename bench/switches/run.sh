#!/usr/bin/env bash
# Memory and descriptors per stream switch: 50 TV channel switches (loopback HLS and MPEG-TS,
# 640x360 H.264/AAC) and 50 radio station switches (loopback MP3 with ICY titles), the program's
# players beside mpv on the same streams; then the stream is turned off.
# Usage: bash bench/switches/run.sh [COUNT]   (default 50)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
count=${1:-50}

# mpv is the yardstick only: installed here, never a dependency of the program.
command -v mpv >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mpv >/dev/null

[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_stream_switches >/dev/null
ours="$root/build/bench/bench_stream_switches"

work=$(mktemp -d)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/zelmo-xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export ZELMO_PULSE_DIR=${BENCH_PULSE_DIR:-/tmp/zelmo-pulse-bench}
eval "$(bash scripts/pulse.sh start)"
export QT_QPA_PLATFORM=offscreen
unset DISPLAY
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  bash "$root/scripts/pulse.sh" stop
  rm -rf "$work"
}
trap cleanup EXIT

ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=640x360:rate=25 -f lavfi -i sine=frequency=440 -t 30 \
  -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p -c:a aac -ac 2 -f hls -hls_time 2 -hls_list_size 0 \
  -hls_segment_filename "$work/seg%d.ts" "$work/live.m3u8"
ffmpeg -loglevel error -y -i "$work/live.m3u8" -c copy -f mpegts "$work/stream.ts"
ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=20 -ac 2 -ar 44100 -c:a libmp3lame -b:a 128k \
  "$work/tone.mp3"
start_server() { # script, output file
  /usr/bin/python3 "$1" "$work" >"$2" &
  pids+=($!)
  for _ in $(seq 1 100); do grep -q PORT "$2" 2>/dev/null && break; sleep 0.05; done
  awk '/PORT/ {print $2; exit}' "$2"
}
vport=$(start_server tests/tv/video_server.py "$work/video.out")
rport=$(start_server tests/radio/stream_server.py "$work/radio.out")
ts_rate=$(($(stat -c %s "$work/stream.ts") / 30 * 3 / 2))
tv=("http://127.0.0.1:$vport/live.m3u8" "http://127.0.0.1:$vport/stream.ts?rate=$ts_rate")
radio=("http://127.0.0.1:$rport/tone.mp3?rate=16000&loop=1" "http://127.0.0.1:$rport/tone.mp3?rate=20000&loop=1")

# One line per run: memory before the first stream, after the second switch and the last, after
# off (MB), growth per switch from the second on (by then both streams have played once: plug-ins
# loaded, warm-up done), descriptors after the second switch and the last, after off; then the
# anonymous part of the memory (heap and stacks, not the mapped code of libraries and plug-ins)
# before the first stream and after off.
summary() { # label, file with BEFORE/SWITCH/OFF lines
  awk -v label="$1" '
    $1 == "BEFORE" { b = $3; bf = $4; ba = $5 }
    $1 == "SWITCH" && $2 == 2 { f = $3; ff = $4 }
    $1 == "SWITCH" { l = $3; lf = $4; n = $2 }
    $1 == "OFF" { o = $3; of = $4; oa = $5 }
    END {
      printf "  %-16s %7.1f %7.1f %7.1f %8.1f %8.2f %5d %5d %5d %5d %7.1f %7.1f\n", label, b / 1024, f / 1024,
        l / 1024, o / 1024, (l - f) / 1024 / (n > 2 ? n - 2 : 1), bf, ff, lf, of, ba / 1024, oa / 1024
    }' "$2"
}
echo "$count switches per run; $(nproc) cores, load $(cut -d" " -f1-3 /proc/loadavg)"
for kind in tv radio; do
  if [ "$kind" = tv ]; then urls=("${tv[@]}"); else urls=("${radio[@]}"); fi
  "$ours" "$kind" "${urls[@]}" "$count" >"$work/ours-$kind.txt"
  /usr/bin/python3 bench/switches/mpv_switches.py "$kind" "${urls[@]}" "$count" >"$work/mpv-$kind.txt"
done
printf '\n  %-16s %7s %7s %7s %8s %8s %5s %5s %5s %5s %7s %7s\n' "" "before" "second" "last" "off" "MB/sw" \
  "fd0" "fd2" "fdN" "fdoff" "anon0" "anonoff"
printf '  %s\n' "(resident memory in MB before the first stream, after switch 2 and $count, after off;" \
  " anon: its anonymous part, before the first stream and after off)"
for kind in tv radio; do
  summary "zelmo $kind" "$work/ours-$kind.txt"
  summary "mpv $kind" "$work/mpv-$kind.txt"
done
if [ -n "${BENCH_KEEP:-}" ]; then cp "$work"/ours-*.txt "$work"/mpv-*.txt "$BENCH_KEEP"/; fi
