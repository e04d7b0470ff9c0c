#!/usr/bin/env bash
# Start-up of the real program with a normal, a 1 MB and a 50 MB Setting.ini, offscreen.
# Usage: bench/settings/run.sh [--runs N] [--baseline <other build dir>]   (builds first)
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target zelmo-player zelmo_appdir >/dev/null
exec /usr/bin/python3 bench/settings/measure.py --build build "$@"
