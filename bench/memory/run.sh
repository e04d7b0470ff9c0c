#!/usr/bin/env bash
# Memory with every web-holding window open and 30 s after they closed, beside the one-view
# program, under Xvfb with a window manager (bench/memory/windows.py).
# Usage: bash bench/memory/run.sh [RUNS [BASELINE_APPDIR]]   (BASELINE_APPDIR: another build's AppDir,
# e.g. main before a change, run interleaved with this one)
set -euo pipefail
baseline=${2:+$(realpath "$2")}
cd "$(dirname "$0")/../.."
runs=${1:-3}
[ -d build ] || bash scripts/build.sh
cmake --build build -j2 --target zelmo-player zelmo_appdir bench_one_webview >/dev/null
bash bench/xsession.sh /usr/bin/python3 bench/memory/windows.py "$(pwd)/build/AppDir" \
  "$(pwd)/build/bench/bench_one_webview" "$runs" ${baseline:+"$baseline"}
