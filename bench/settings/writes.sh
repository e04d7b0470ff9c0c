#!/usr/bin/env bash
# How long a settings write holds up the thread that makes it, on a normal and on a 50 MB
# Setting.ini (bench/settings/settings_writes.cpp), runs interleaved with a baseline: the same
# benchmark built against an older tree (a commit of this repository).
# Usage: bench/settings/writes.sh [--runs N] [--writes N] [--baseline <commit>]   (builds first)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
runs=3 writes=10 baseline=
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --writes) writes=$2; shift 2 ;;
    --baseline) baseline=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--writes N] [--baseline <commit>]" >&2; exit 2 ;;
  esac
done
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")} CCACHE_NOHASHDIR=1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target bench_settings_writes >/dev/null
programs=("this:$root/build/bench/bench_settings_writes")
if [ -n "$baseline" ]; then
  tree=$(mktemp -d /tmp/zelmo-settings-baseline.XXXXXX)
  trap 'rm -rf "$tree"' EXIT
  git archive "$baseline" | tar -x -C "$tree"
  # The benchmark itself, as it is here; it builds against the older store too.
  cp bench/settings/CMakeLists.txt bench/settings/settings_writes.cpp "$tree/bench/settings/"
  mkdir -p "$tree/tests/common"
  cp tests/common/UiRoundTrip.h tests/common/LargeSettingIni.h "$tree/tests/common/"
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$tree/build" -j2 --target bench_settings_writes >/dev/null
  programs=("baseline:$tree/build/bench/bench_settings_writes" "${programs[@]}")
fi
for run in $(seq "$runs"); do
  for p in "${programs[@]}"; do
    "${p#*:}" --writes "$writes" | sed "s/^/${p%%:*} run $run: /"
  done
done
