#!/usr/bin/env bash
# Fuzz targets, on demand (never from ctest): libFuzzer with the address and undefined-behaviour
# sanitizers, built with Debian's clang into build-fuzz/.
# Usage: fuzz/run.sh [seconds per target, default 600] [target ...]
#   targets: ini_text language_pack playlist integer_text station_directory xmltv (default: all, one after another)
# New inputs go to build-fuzz/corpus/<target>, findings to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# clang and its libFuzzer runtime are needed here only, not by the build.
if ! dpkg-query -W -f='${Status}' clang 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends clang >/dev/null
fi

seconds=${1:-600}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(ini_text language_pack playlist integer_text station_directory xmltv)

cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2 >/dev/null
mkdir -p build-fuzz/findings

status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  seeds=("fuzz/corpus/$t")
  [ "$t" = language_pack ] && seeds+=(data/Language)
  log="build-fuzz/$t.log"
  echo "fuzz_$t: ${seconds} s"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_LOGGING_RULES="*=false" \
      "build-fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/findings/$t-" "build-fuzz/corpus/$t" "${seeds[@]}" >"$log" 2>&1; then
    result="no finding"
  else
    result="FINDING (see $log and build-fuzz/findings/)"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  echo "fuzz_$t: $runs executions, $result"
done
exit $status
