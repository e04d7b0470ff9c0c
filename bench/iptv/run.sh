#!/usr/bin/env bash
# IPTV import figures: a 10,000-entry playlist parsed and matched against the catalog, the settings
# window's IPTV tab on it (offscreen), and a 50 MB XMLTV guide (plain and gzip) read off the main
# thread, with its peak memory above idle.
# Usage: bash bench/iptv/run.sh [ENTRIES] [GUIDE_MB] [BASELINE_BENCH_DIR [BASELINE_RUNS]]
#   BASELINE_BENCH_DIR: another build's build/bench; its bench_iptv_tab runs just before ours.
set -euo pipefail
cd "$(dirname "$0")/../.."
entries=${1:-10000}
megabytes=${2:-50}
baseline=${3:+$(realpath "$3")}
baseline_runs=${4:-3} # the table before the model took tens of seconds a click
[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_iptv bench_iptv_tab >/dev/null
bench=build/bench/bench_iptv
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" playlist "$entries"
export QT_QPA_PLATFORM=offscreen
if [ -n "$baseline" ]; then
    echo "-- before ($baseline)"
    "$baseline/bench_iptv_tab" "$entries" "$baseline_runs"
    echo "-- after"
    build/bench/bench_iptv_tab "$entries"
else
    build/bench/bench_iptv_tab "$entries"
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" make-guide "$work" "$megabytes"
"$bench" guide "$work/guide.xml"
"$bench" guide "$work/guide.xml.gz"
