#!/usr/bin/env bash
# The Linux program end to end: builds zirvo with its unit tests, runs the shell
# tests under ThreadSanitizer, then the real program under Xvfb (each e2e test
# starts an X server of its own). Needs: cmake g++ clang libsdl2-dev
# libsdl2-ttf-dev libfontconfig-dev libx11-dev fonts-dejavu-core libgtest-dev
# xvfb xdotool imagemagick python3.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZIRVO_E2E_BUILD:-${TMPDIR:-/tmp}/zirvo-build-e2e}"
tsan="${ZIRVO_TSAN_BUILD:-${TMPDIR:-/tmp}/zirvo-build-tsan}"

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  missing=()
  for pkg in libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev fonts-dejavu-core \
             xvfb xdotool imagemagick; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
fi

cmake -S "$root" -B "$build" -DZIRVO_WERROR=ON >/dev/null
# Everything: the install test installs the whole project.
cmake --build "$build" -j2
ctest --test-dir "$build" -R '^(ShellTest|ShellExitDeathTest|TrackedScreenTest|SampleScenesTest)\.' \
  --output-on-failure
ctest --test-dir "$build" -L e2e -j2 --output-on-failure

cmake -S "$root" -B "$tsan" -DZIRVO_SANITIZE=thread -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$tsan" -j2 --target shell_test
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/shell_test"
