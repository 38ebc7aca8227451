#!/usr/bin/env bash
# Builds the benchmarks and runs every one of them for a moment, so that they
# keep building and running, then prints their table (bench/table.py --quick;
# it fails when zirvo under Xvfb gives no frame summary). Timings are not
# judged here (bench/run measures). Without Xvfb the SDL benchmarks report a
# skip and the frame-time run is left out.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$repo/build-ci-bench}"
# A build directory that is already configured (scripts/test's build/) is used
# as it stands; otherwise a Release build of the benchmarks is made.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZIRVO_BENCH=ON -DZIRVO_TESTS=OFF \
    ${ZIRVO_WERROR:+-DZIRVO_WERROR=$ZIRVO_WERROR} >/dev/null
fi
cmake --build "$build" -j2 --target zirvo_bench zirvo-observed

"$repo/bench/table.py" --quick "$build"
echo "benchmarks: all ran"
