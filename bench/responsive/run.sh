#!/usr/bin/env bash
# Responsiveness of the program a user runs, under Xvfb with a window manager: channel click ->
# page finished beside a minimal one-view switcher, and idle CPU with the window shown, minimised
# and hidden in the tray (bench/responsive/measure.py). Playing CPU beside mpv: bench/radio/run.sh.
# Usage: bash bench/responsive/run.sh [RUNS]   (default 3; BENCH_IDLE_SECONDS per idle state, default 20)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-3}
[ -d build ] || bash scripts/build.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target zelmo-player zelmo_appdir bench_one_view_switcher >/dev/null
bash bench/xsession.sh /usr/bin/python3 bench/responsive/measure.py "$(pwd)/build/AppDir" \
  "$(pwd)/build/bench/bench_one_view_switcher" "$runs"
