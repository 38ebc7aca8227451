#!/usr/bin/env bash
# Builds the benchmarks and runs every one of them for a moment, so that they
# keep building and running. Timings are not judged here (bench/run measures).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$repo/build-ci-bench}"
# A build directory that is already configured (scripts/test's build/) is used
# as it stands; otherwise a Release build of the benchmarks is made.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZIRVO_BENCH=ON -DZIRVO_TESTS=OFF \
    ${ZIRVO_WERROR:+-DZIRVO_WERROR=$ZIRVO_WERROR} >/dev/null
fi
cmake --build "$build" -j2 --target zirvo_bench
ZIRVO_BENCH_QUICK=1 "$build/bench/zirvo_bench" --benchmark_min_time=0.01
ZIRVO_BENCH_QUICK=1 "$build/bench/zirvo_bench" --table >/dev/null
echo "benchmarks: all ran"
