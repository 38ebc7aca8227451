#!/usr/bin/env bash
# End-to-end tests of zirvo.exe, zirvo.scr and zirvo-check.exe under Wine on an
# Xvfb screen, with real key presses and clicks (xdotool) and screenshots of the
# whole screen (ImageMagick).
#   tests/wine/run.sh BUILD_DIR [NATIVE_BUILD_DIR]
# BUILD_DIR holds the Windows programs; NATIVE_BUILD_DIR, the Linux build whose
# zirvo-check the Windows one is compared with.
# Prints one line per case, the start-up times measured, and "N passed, N failed".
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?usage: run.sh BUILD_DIR [NATIVE_BUILD_DIR]}" && pwd)
NATIVE=${2:+$(cd "$2" && pwd)}
EXE="$BUILD/zirvo.exe"
WORK="$BUILD/wine-tests"
[ -f "$EXE" ] || { echo "no $EXE" >&2; exit 2; }

# shellcheck source=lib.sh
source "$HERE/lib.sh"

rm -rf "$WORK"
mkdir -p "$WORK"
trap cleanup EXIT

RUN_STARTED=$(now_ns)
start_xvfb || exit 1
make_prefix || exit 1
# How the programs run, for the summary of .ci/wine.sh and scripts/test.
if [ "$WINEARCH" = win64 ]; then
  echo "wine: Windows programs: 64-bit"
elif [ "${ZIRVO_I386:-native}" = emulated ]; then
  echo "wine: Windows programs: 32-bit, emulated ($("$ZIRVO_I386_EMULATOR" --version | head -n1))"
else
  echo "wine: Windows programs: 32-bit, native"
fi

SCREEN_SIZE="${WINE_TEST_SCREEN_W}x${WINE_TEST_SCREEN_H}"
# Fast fixed pacing: no calibration, so the tests do not depend on its result.
FAST_SETTINGS=$'screen=640x480\nscale=u\nwait=100'
RED='#FF0000'     # palette 12
YELLOW='#FFFF00'  # palette 14
BANNER='#80FF80'

# ---- cases ------------------------------------------------------------------

# The window covers the screen, the scene's colours appear (and no others), and
# a left click ends the program with exit code 0.
case_draws_scene_colours() {
  local dir id geometry
  dir=$(make_case draws "$FAST_SETTINGS")
  cp "$HERE/scenes/draws.zrv" "$dir/scene.zrv"
  start_zirvo "$dir" 'draws\scene'  # ".zrv" is added by the loader
  id=$(wait_window) || return 1
  geometry=$(xdotool getwindowgeometry "$id" | tr -d ' ' | grep -E 'Position|Geometry' | tr '\n' ' ')
  case "$geometry" in
    *"Position:0,0"*"Geometry:$SCREEN_SIZE"*) ;;
    *) echo "window is not full-screen: $geometry" >&2; return 1 ;;
  esac
  wait_colours "$WORK/draws.png" 20 "$RED" "$YELLOW" || return 1
  local others
  others=$(unexpected_colours "$WORK/draws.png" "$RED" "$YELLOW")
  [ -z "$others" ] || { echo "colours the scene does not have: $others" | head -5 >&2; return 1; }
  xdotool mousemove 500 400 click 1
  expect_exit_zero
}

# Scroll Lock freezes the picture (two screenshots a second apart are equal);
# a key resumes it, and so does a click, which does not end the program then.
# The resuming key is Scroll Lock itself: Xvfb's Scroll Lock is no locking
# modifier, so Wine would put a Scroll Lock press of its own in front of any
# other next key to bring its lock state in line (resume, then that key quits).
case_scroll_lock_pauses_key_resumes() {
  local dir
  dir=$(make_case pause "$FAST_SETTINGS")
  cp "$HERE/scenes/draws.zrv" "$dir/draws.zrv"
  start_zirvo "$dir" 'pause\draws.zrv'
  wait_window >/dev/null || return 1
  wait_colours "$WORK/pause-0.png" 20 "$RED" || return 1
  expect_moving pause-0 pause-1 "before the pause" || return 1

  xdotool key Scroll_Lock
  expect_frozen pause-2 pause-3 || return 1
  xdotool key Scroll_Lock
  expect_moving pause-3 pause-4 "after a key resumed" || return 1

  xdotool key Scroll_Lock
  expect_frozen pause-5 pause-6 || return 1
  xdotool mousemove 300 300 click 1
  expect_moving pause-6 pause-7 "after a click resumed" || return 1

  xdotool click 1
  expect_exit_zero
}

# expect_moving BEFORE AFTER WHEN: the screen changes from the BEFORE shot
# (taken now when there is none) to a later AFTER shot, within a few seconds.
expect_moving() {
  [ -f "$WORK/$1.png" ] || shot "$WORK/$1.png"
  local deadline=$((SECONDS + $(patient 5)))
  while :; do
    sleep 1
    shot "$WORK/$2.png"
    running || { echo "the program ended $3" >&2; return 1; }
    [ "$(diff_pixels "$WORK/$1.png" "$WORK/$2.png")" -gt 0 ] && return 0
    [ $SECONDS -lt $deadline ] || { echo "the show does not move $3" >&2; return 1; }
  done
}

# expect_frozen FIRST SECOND: once the pass under way has ended, nothing
# changes for a second: two shots a second apart, FIRST and SECOND, are equal.
# A pass may take a while on a slow machine, so the pair is taken again for a
# few seconds before the pause counts as broken.
expect_frozen() {
  local deadline=$((SECONDS + $(patient 5))) changed
  sleep 0.5
  while :; do
    shot "$WORK/$1.png"
    sleep 1
    shot "$WORK/$2.png"
    running || { echo "the pause ended the program" >&2; return 1; }
    changed=$(diff_pixels "$WORK/$1.png" "$WORK/$2.png")
    [ "$changed" -eq 0 ] && return 0
    [ $SECONDS -lt $deadline ] || { echo "$changed pixels changed while paused" >&2; return 1; }
  done
}

# The arrows change the speed and keep the program running; any other key ends it.
case_arrows_keep_running_other_key_ends() {
  local dir
  dir=$(make_case keys "$FAST_SETTINGS")
  cp "$HERE/scenes/draws.zrv" "$dir/draws.zrv"
  start_zirvo "$dir" 'keys\draws'
  wait_window >/dev/null || return 1
  wait_colours "$WORK/keys.png" 20 "$RED" || return 1
  xdotool key Up Up Down
  sleep 1
  running || { echo "an arrow key ended the program" >&2; return 1; }
  xdotool key q
  expect_exit_zero
}

# Alt+F4 goes to the default handling, which closes the window (WM_DESTROY).
case_alt_f4_ends() {
  local dir
  dir=$(make_case altf4 "$FAST_SETTINGS")
  cp "$HERE/scenes/draws.zrv" "$dir/draws.zrv"
  start_zirvo "$dir" 'altf4\draws'
  wait_window >/dev/null || return 1
  wait_colours "$WORK/altf4.png" 20 "$RED" || return 1
  xdotool key alt+F4
  expect_exit_zero
}

# Slowed down until one pass of the drawing thread takes seconds, the program
# still ends at once on a click, with exit code 0 and no crash: the thread is
# not waited for beyond a moment, and nothing it uses is destroyed under it.
case_ends_cleanly_during_a_long_pass() {
  local dir
  dir=$(make_case slow "$FAST_SETTINGS")
  cp "$HERE/scenes/draws.zrv" "$dir/draws.zrv"
  start_zirvo "$dir" 'slow\draws'
  wait_window >/dev/null || return 1
  wait_colours "$WORK/slow.png" 20 "$RED" || return 1
  # 100 x 1.44^40: over 200 million delay repetitions per swirl turn, seconds
  # each, so the click surely finds the thread inside a delay.
  xdotool key --delay 30 --repeat 40 Down
  sleep 1.5
  running || { echo "slowing down ended the program" >&2; return 1; }
  local clicked
  clicked=$(now_ns)
  xdotool mousemove 200 200 click 1
  expect_exit_zero 15 || return 1
  log "ended $(elapsed_ms "$clicked") ms after the click"
}

# Without a scene the light green banner shows, centred, a little above the
# middle of the screen, in nothing but its colour (and, where Wine smooths the
# font, that colour blended over black); a click ends the program.
case_banner_without_scene() {
  local dir trim left top width
  dir=$(make_case banner "$FAST_SETTINGS")
  start_zirvo "$dir"
  wait_window >/dev/null || return 1
  wait_colours "$WORK/banner.png" 20 "$BANNER" || return 1
  local others
  others=$(colours_not_blends_of "$WORK/banner.png" "$BANNER")
  [ -z "$others" ] || { echo "banner has other colours: $others" | head -3 >&2; return 1; }
  # Bounding box of the text: WxH+X+Y.
  trim=$(convert "$WORK/banner.png" -fill black +opaque "$BANNER" -trim -format '%w %h %X %Y' info:)
  read -r width _ left top <<<"$(echo "$trim" | tr -d '+')"
  local centre=$((left + width / 2))
  if [ $((centre - WINE_TEST_SCREEN_W / 2)) -gt 8 ] || [ $((WINE_TEST_SCREEN_W / 2 - centre)) -gt 8 ]; then
    echo "banner not centred: box $trim" >&2; return 1
  fi
  if [ "$top" -ge $((WINE_TEST_SCREEN_H / 2)) ] || [ "$top" -lt $((WINE_TEST_SCREEN_H / 4)) ]; then
    echo "banner top $top not a little above the middle" >&2; return 1
  fi
  xdotool mousemove 100 100 click 1
  expect_exit_zero
}

# A scene whose only kind stops after a second ends by itself.
case_scene_that_stops_ends_itself() {
  local dir
  dir=$(make_case ends "$FAST_SETTINGS")
  cp "$HERE/scenes/ends.zrv" "$dir/ends.zrv"
  start_zirvo "$dir" 'ends\ends'
  wait_window >/dev/null || return 1
  expect_exit_zero 30 || return 1
  log "ended by itself after $RUN_MS ms"
}

# Start-up with and without the calibration: a scene without kinds ends right
# after the first paint, so the run's length is the start-up's. Both end with 0.
STARTUP_RUNS=3
case_startup_time_with_and_without_calibration() {
  local calibrated skipped i
  calibrated=$(make_case calibrated $'screen=640x480')
  skipped=$(make_case skipped $'screen=640x480\nwait=100')
  cp "$HERE/scenes/empty.zrv" "$calibrated/empty.zrv"
  cp "$HERE/scenes/empty.zrv" "$skipped/empty.zrv"
  local with=() without=()
  for ((i = 0; i < STARTUP_RUNS; i++)); do
    start_zirvo "$calibrated" 'calibrated\empty'
    expect_exit_zero 60 || return 1
    with+=("$RUN_MS")
    start_zirvo "$skipped" 'skipped\empty'
    expect_exit_zero 60 || return 1
    without+=("$RUN_MS")
  done
  log "start-up to the end of an empty show, calibrating:   ${with[*]} ms"
  log "start-up to the end of an empty show, wait=100 given: ${without[*]} ms"
}

# The screensaver's and the checker's cases.
# shellcheck source=scr_cases.sh
source "$HERE/scr_cases.sh"
# shellcheck source=check_cases.sh
source "$HERE/check_cases.sh"
# shellcheck source=trace_cases.sh
source "$HERE/trace_cases.sh"

# ---- runner -----------------------------------------------------------------

CASES=(
  case_draws_scene_colours
  case_scroll_lock_pauses_key_resumes
  case_arrows_keep_running_other_key_ends
  case_alt_f4_ends
  case_ends_cleanly_during_a_long_pass
  case_banner_without_scene
  case_scene_that_stops_ends_itself
  case_startup_time_with_and_without_calibration
  "${SCR_CASES[@]}"
  "${CHECK_CASES[@]}"
  "${TRACE_CASES[@]}"
)

# A case returns 0 (passed), 77 (skipped: it says why) or anything else (failed).
SKIPPED=77
passed=0
failed=0
skipped=0
for name in "${CASES[@]}"; do
  [ -n "${WINE_TEST_ONLY:-}" ] && [[ "$name" != *"$WINE_TEST_ONLY"* ]] && continue
  started=$(now_ns)
  status=0
  "$name" || status=$?
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $name ($(elapsed_ms "$started") ms)"
  elif [ "$status" -eq "$SKIPPED" ]; then
    skipped=$((skipped + 1))
    echo "SKIP $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($(elapsed_ms "$started") ms)"
    # What the program left: its last words and, when it ended, its exit code.
    [ -s "$WORK/zirvo.log" ] && tail -n 20 "$WORK/zirvo.log" | sed 's/^/    log: /'
    if running; then
      kill "$ZIRVO_PID" 2>/dev/null
      wait "$ZIRVO_PID" 2>/dev/null
    elif [ -n "$ZIRVO_PID" ]; then
      code=0
      wait "$ZIRVO_PID" 2>/dev/null || code=$?
      log "the program had ended with exit code $code"
    fi
    ZIRVO_PID=""
  fi
done
echo "wine tests took $(elapsed_ms "$RUN_STARTED") ms"
echo "wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
