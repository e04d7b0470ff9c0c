#!/usr/bin/env bash
# Fresh start -> first channel playing, with the public playlists and the stream hosts on loopback.
# Usage: bash bench/iptv/run_first_channel.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-5}
[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_first_channel >/dev/null
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES=qt.webenginecontext.info=false
export QTWEBENGINE_CHROMIUM_FLAGS='--host-resolver-rules="MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"'
export ZELMO_SOURCE_DIR=$PWD ZELMO_APPDIR=$PWD/build/AppDir ZELMO_TEST_SOURCE_DIR=$PWD
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for i in $(seq "$runs"); do
    echo "-- run $i"
    build/bench/bench_first_channel "$(date +%s%3N)"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
