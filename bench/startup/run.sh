#!/usr/bin/env bash
# Start-up benchmark: the program against a bare Qt program and a single web view, offscreen.
# Usage: bench/startup/run.sh [--runs N]   (builds first)
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target zelmo-player bench_bare_windows bench_one_webview zelmo_appdir >/dev/null
exec /usr/bin/python3 bench/startup/measure.py --build build "$@"
