#!/usr/bin/env bash
# Frame times of the real program under the dense scene: zirvo-observed (zirvo
# with a log of its run) on bench/scenes/dense.zrv (with bench/scenes/zirvo.ini:
# wait=1, so the trails fill within seconds) in an Xvfb of 1920 x 1080, its
# ZIRVO_FRAME_LOG summary turned into rows of bench/run's table
# ("figure|value|target|verdict").
# Two paces once the trails are full: flat out (wait=1: every row changes in
# every frame), and about the show's calibrated pace (filled at wait=3, since
# Down leaves 1 and 2 as they are, then 25 presses of Down take the wait to
# 19195, one turn per ~0.1 ms).
# Usage: bench/sdl_frame_times.sh ZIRVO_OBSERVED [FILL_SECONDS [MEASURED_SECONDS]]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
zirvo="$1"
fill="${2:-8}"
measured="${3:-20}"
downs=25

echo "## zirvo under Xvfb 1920x1080 on dense.zrv: ${measured} s once ${fill} s filled the trails"
if ! command -v xvfb-run >/dev/null || ! command -v Xvfb >/dev/null; then
  echo "skipped: no Xvfb (Debian: xvfb xauth)|n/a||"
  exit 0
fi
if [ ! -x "$zirvo" ]; then
  echo "skipped: zirvo not built ($zirvo)|n/a||"
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# zirvo reads zirvo.ini beside its executable: a copy beside the benchmark one.
cp "$zirvo" "$work/zirvo"

# One run: zirvo in the background, after FILL seconds DOWNS presses of Down,
# a second for them to land, then MEASURED seconds counted and a TERM to end it.
# Prints the zirvo-frames summary followed by the pixel log's last line.
run_show() {
  local presses="$1" log="$work/log" wait=1
  if [ "$presses" -gt 0 ]; then wait=3; fi
  sed "s/^wait=1\$/wait=$wait/" "$repo/bench/scenes/zirvo.ini" >"$work/zirvo.ini"
  env ZIRVO_FRAME_LOG="$((fill + 1))" ZIRVO_PIXEL_LOG=1 \
    xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
      "$1" "$2" & pid=$!
      sleep "$3"
      if [ "$4" -gt 0 ]; then xdotool key --repeat "$4" --delay 10 Down; fi
      sleep "$5"
      kill -TERM "$pid"
      wait "$pid"' _ "$work/zirvo" "$repo/bench/scenes/dense.zrv" "$fill" "$presses" \
    "$((1 + measured))" 2>"$log" >/dev/null || true
  local frames end
  frames="$(grep '^zirvo-frames ' "$log" | tail -1)" || return 1
  end="$(grep '^zirvo-pixels end ' "$log" | tail -1)" || true
  echo "$frames $end"
}

# The value of key=value in a summary line.
field() { tr ' ' '\n' <<<"$2" | awk -F= -v k="$1" '$1 == k { print $2 }'; }

for pace in flat calibrated; do
  presses=0
  what="flat out (wait=1)"
  if [ "$pace" = calibrated ]; then
    if ! command -v xdotool >/dev/null; then
      echo "show's pace: skipped, no xdotool to press Down (Debian: xdotool)|n/a||"
      continue
    fi
    presses=$downs
    what="show's pace"
  fi
  how="$what"
  line="$(run_show "$presses")" ||
    { echo "$how: zirvo gave no frame summary|n/a||"; continue; }
  frames="$(field frames "$line")"
  refresh="$(field refresh_ms "$line")"
  longest="$(field present_max_ms "$line")"
  over="$(field presents_over_refresh "$line")"
  echo "$how [$(field renderer "$line")]: frames presented|$frames||"
  echo "$how: wait at the end; pixels set per s, whole run|$(field wait "$line"); $(awk \
    -v p="$(field pixels "$line")" -v m="$(field ms "$line")" \
    'BEGIN { printf "%.0f", (m > 0) ? p * 1000 / m : 0 }')||"
  echo "$how: present, mean ms|$(field present_mean_ms "$line")||"
  echo "$how: present, longest ms|$longest|< $refresh|$(awk -v a="$longest" -v r="$refresh" \
    'BEGIN { print (a < r) ? "met" : "MISSED" }')"
  echo "$how: presents longer than the refresh|$over of $frames|0|$([ "$over" = 0 ] &&
    echo met || echo MISSED)"
  echo "$how: longest interval between presents, ms|$(field interval_max_ms "$line")||"
  echo "$how: refreshes left without a frame|$(field refreshes_missed "$line")||"
done
echo "(refresh interval: $(awk 'BEGIN { printf "%.3f", 1000 / 60 }') ms, the display mode's 60 Hz;" \
  "wait=1 runs the drawing thread flat out)|||"
