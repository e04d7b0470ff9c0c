#!/usr/bin/env bash
# The station directory client against a directory that answers with a 200 MB list (the size in
# MB is the first argument): the UI thread's worst stall, the peak memory and the outcome.
set -euo pipefail
cd "$(dirname "$0")/../.."
size=${1:-200}
[ -x build/bench/bench_directory_hostile ] || cmake --build build --target bench_directory_hostile
coproc SERVER { exec python3 bench/directory/hostile_server.py "$size"; }
trap 'kill $SERVER_PID 2>/dev/null || true' EXIT
read -r _ port <&"${SERVER[0]}"
nice -n 5 build/bench/bench_directory_hostile "http://127.0.0.1:$port"
