#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a minute on its
# seed corpus, two at a time; any crash, leak, timeout or broken property fails.
#
#   .ci/fuzz.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
seconds="${2:-60}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
clangxx=$(command -v clang++-14 || command -v clang++)
clangc=$(command -v clang-14 || command -v clang)

CXX="$clangxx" CC="$clangc" cmake -S . -B "$build" "${generator[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIRVO_WERROR=ON -DZIRVO_FUZZ=ON -DZIRVO_TESTS=OFF \
  -DZIRVO_BENCH=OFF >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2 --target zirvo_fuzz_settings zirvo_fuzz_scene zirvo_fuzz_cmdline \
  zirvo_fuzz_show
fuzz/run -b "$build" -j 2 "$seconds"
