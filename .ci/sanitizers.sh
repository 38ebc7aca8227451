#!/usr/bin/env bash
# The test programs under the sanitizers: every unit and whole-show test under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the shell's threaded tests
# (headless backend: the window thread and the drawing thread together) under
# ThreadSanitizer. Any report fails the run.
#
#   .ci/sanitizers.sh [ASAN_BUILD_DIR] [TSAN_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
asan_dir="${1:-build-asan}"
tsan_dir="${2:-build-tsan}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

# The test programs: one per tests/<area>/<module>_test.cpp. The tools' and the
# Wine tests drive whole programs and stay in the ordinary build.
mapfile -t unit_tests < <(ls tests/*/*_test.cpp | xargs -n1 basename | sed 's/\.cpp$//' | sort)
threaded_tests=(shell_test tracked_screen_test)

configure() {
  cmake -S . -B "$1" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIRVO_WERROR=ON \
    -DZIRVO_SANITIZE="$2" -DZIRVO_BENCH=OFF -DZIRVO_FUZZ=OFF >"$1.configure.log" 2>&1 ||
    { cat "$1.configure.log"; exit 1; }
}

start=$(date +%s)
echo "== ASan+UBSan: ${unit_tests[*]}"
configure "$asan_dir" address,undefined
cmake --build "$asan_dir" -j2 --target "${unit_tests[@]}"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$asan_dir" -L unit -j2 --output-on-failure --timeout 300

echo "== TSan: ${threaded_tests[*]}"
configure "$tsan_dir" thread
cmake --build "$tsan_dir" -j2 --target "${threaded_tests[@]}"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# Each threaded test is run several times: a race shows only when it happens.
for program in "${threaded_tests[@]}"; do
  "$tsan_dir/tests/$program" --gtest_repeat=3 --gtest_brief=1
done
echo "sanitizers: clean in $(($(date +%s) - start)) s"
