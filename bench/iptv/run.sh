#!/usr/bin/env bash
# IPTV import figures: a 10,000-entry playlist parsed and matched against the catalog, and a
# 50 MB XMLTV guide (plain and gzip) read off the main thread, with its peak memory above idle.
# Usage: bash bench/iptv/run.sh [ENTRIES] [GUIDE_MB]
set -euo pipefail
cd "$(dirname "$0")/../.."
entries=${1:-10000}
megabytes=${2:-50}
[ -d build ] || bash scripts/build.sh
cmake --build build --target bench_iptv >/dev/null
bench=build/bench/bench_iptv
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" playlist "$entries"
"$bench" make-guide "$work" "$megabytes"
"$bench" guide "$work/guide.xml"
"$bench" guide "$work/guide.xml.gz"
