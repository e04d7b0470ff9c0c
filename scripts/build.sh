#!/usr/bin/env bash
# Configures and builds into build/; the runnable program and its data land in build/AppDir.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# One compiler cache for every checkout of the tree on this machine.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$(pwd)")}
export CCACHE_NOHASHDIR=1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
