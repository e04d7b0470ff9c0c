#!/usr/bin/env bash
# Starts a PulseAudio daemon with a null sink "testsink" for the audio tests (no sound card needed).
# Prints the environment to use: eval "$(bash scripts/pulse.sh start)"; stop with: bash scripts/pulse.sh stop
set -euo pipefail
dir=${ZELMO_PULSE_DIR:-/tmp/zelmo-pulse}
case "${1:-start}" in
start)
  mkdir -p -m 700 "$dir/xdg"
  if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then :; else
    rm -f "$dir/pa.sock"
    XDG_RUNTIME_DIR="$dir/xdg" pulseaudio --daemonize=no -n --exit-idle-time=-1 --disallow-exit \
      --log-target=file:"$dir/pa.log" \
      --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/pa.sock" \
      --load="module-null-sink sink_name=testsink rate=44100" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 1 100); do [ -S "$dir/pa.sock" ] && break; sleep 0.05; done
  fi
  PULSE_SERVER="unix:$dir/pa.sock" pactl set-default-sink testsink >/dev/null 2>&1 || true
  echo "export PULSE_SERVER=unix:$dir/pa.sock"
  ;;
stop)
  [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null || true
  rm -f "$dir/pid"
  ;;
esac
