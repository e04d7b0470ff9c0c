#!/usr/bin/env bash
# Memory with secondary web windows open and 30 s after they closed, beside the one-view program,
# under Xvfb (bench/memory/windows.py). Usage: bash bench/memory/run.sh [RUNS]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-3}
[ -d build ] || bash scripts/build.sh
cmake --build build -j2 --target zelmo-player zelmo_appdir bench_one_webview >/dev/null

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/fd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 60 display <"$work/fd"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
# Chromium resolves no host names here: remote pages end as error pages, each still a renderer.
export QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP * ~NOTFOUND"'
/usr/bin/python3 bench/memory/windows.py "$(pwd)/build/AppDir" "$(pwd)/build/bench/bench_one_webview" "$runs"
