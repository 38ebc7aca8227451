#!/bin/sh
# The scene loader's and the pacing's unit tests, in a normal build and under
# AddressSanitizer + UndefinedBehaviorSanitizer (clang). Usage: .ci/scene-pacing.sh [build-root]
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-"${TMPDIR:-/tmp}/zirvo-ci-scene"}
targets="numbers_test command_line_test settings_test scene_file_test scene_notes_test screen_map_test load_files_test pacing_test"

run() {
  dir=$1
  shift
  cmake -S "$src" -B "$dir" -DZIRVO_WERROR=ON "$@" >/dev/null
  # shellcheck disable=SC2086
  cmake --build "$dir" -j2 --target $targets
  for t in $targets; do "$dir/tests/$t" --gtest_brief=1; done
}

run "$root/plain"
run "$root/sanitized" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DZIRVO_SANITIZE=address,undefined
