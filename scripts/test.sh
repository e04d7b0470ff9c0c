#!/usr/bin/env bash
# Builds and runs every test. Audio tests play into a PulseAudio null sink started here.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/build.sh
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/zelmo-xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
eval "$(bash scripts/pulse.sh start)"
trap 'bash "$root/scripts/pulse.sh" stop' EXIT
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
