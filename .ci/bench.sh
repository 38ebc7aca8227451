#!/usr/bin/env bash
# Builds the benchmarks and runs every one of them for a moment, so that they
# keep building and running. Timings are not judged here (bench/run measures).
# The SDL benchmarks and the frame-time run of zirvo need a display: they run
# in an Xvfb when there is one, else the benchmarks report a skip.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$repo/build-ci-bench}"
# A build directory that is already configured (scripts/test's build/) is used
# as it stands; otherwise a Release build of the benchmarks is made.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZIRVO_BENCH=ON -DZIRVO_TESTS=OFF \
    ${ZIRVO_WERROR:+-DZIRVO_WERROR=$ZIRVO_WERROR} >/dev/null
fi
targets=(zirvo_bench)
if [ -f "$repo/src/platform/sdl/main.cpp" ]; then targets+=(zirvo-observed); fi
cmake --build "$build" -j2 --target "${targets[@]}"

display=()
if command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null; then
  display=(xvfb-run -a -s "-screen 0 1920x1080x24")
else
  echo "bench: no Xvfb, the SDL benchmarks will report a skip"
fi
ZIRVO_BENCH_QUICK=1 "${display[@]}" "$build/bench/zirvo_bench" --benchmark_min_time=0.01
ZIRVO_BENCH_QUICK=1 "${display[@]}" "$build/bench/zirvo_bench" --table >/dev/null
if [ -x "$build/zirvo-observed" ]; then
  # bench/run's frame-time step, a second of each run: every run must still
  # give the program's frame summary.
  frames="$("$repo/bench/sdl_frame_times.sh" "$build/zirvo-observed" 1 1)"
  echo "$frames"
  if [ ${#display[@]} -gt 0 ] &&
    { grep -q "gave no frame summary" <<<"$frames" || ! grep -q "frames presented" <<<"$frames"; }; then
    echo "bench: the frame-time run of zirvo gave no frame summary" >&2
    exit 1
  fi
fi
echo "benchmarks: all ran"
