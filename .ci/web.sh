#!/usr/bin/env bash
# The web playground, proven: builds the WebAssembly module and the page, then
# runs the browser tests (web/tests) in headless Chromium, comparing the page's
# traces and notes with the native zirvo-render and zirvo-check.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"
started=$SECONDS
if [ ! -x "$build/tools/zirvo-render" ] || [ ! -x "$build/tools/zirvo-check" ]; then
  cmake -S "$repo" -B "$build" -DZIRVO_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target zirvo-render zirvo-check
fi
"$repo/scripts/web" --build
echo "web build took $((SECONDS - started)) s"
cd "$repo/web"
tests_started=$SECONDS
ZIRVO_TOOLS="$build/tools" npm test
echo "browser tests took $((SECONDS - tests_started)) s"
