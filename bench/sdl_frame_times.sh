#!/usr/bin/env bash
# Frame times of the real program under the dense scene: zirvo on
# bench/scenes/dense.zrv (with bench/scenes/zirvo.ini: wait=1, so the trails
# fill within seconds and the drawing thread runs flat out) in an Xvfb of
# 1920 x 1080, its ZIRVO_FRAME_LOG summary turned into rows of bench/run's table
# ("figure|value|target|verdict"). Two runs: as built, and with SDL's OpenGL
# renderer forced, as the program presented before.
# Usage: bench/sdl_frame_times.sh ZIRVO [FILL_SECONDS [MEASURED_SECONDS]]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
zirvo="$1"
fill="${2:-10}"
measured="${3:-25}"

echo "## zirvo under Xvfb 1920x1080: dense.zrv at wait=1, ${measured} s after ${fill} s of filling"
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
cp "$repo/bench/scenes/zirvo.ini" "$work/zirvo.ini"

# One run; prints the zirvo-frames summary line followed by pixels=N ms=N of
# the pixel log's last line. Extra arguments are environment settings.
run_show() {
  local log="$work/log"
  env "$@" ZIRVO_FRAME_LOG="$fill" ZIRVO_PIXEL_LOG=1 \
    xvfb-run -a -s "-screen 0 1920x1080x24" \
    timeout --preserve-status -s TERM "$((fill + measured))" \
    "$work/zirvo" "$repo/bench/scenes/dense.zrv" 2>"$log" >/dev/null || true
  local frames end
  frames="$(grep '^zirvo-frames ' "$log" | tail -1)" || return 1
  end="$(grep '^zirvo-pixels end ' "$log" | tail -1)" || true
  echo "$frames $end"
}

# The value of key=value in a summary line.
field() { tr ' ' '\n' <<<"$2" | awk -F= -v k="$1" '$1 == k { print $2 }'; }

means=()
for variant in built opengl; do
  if [ "$variant" = built ]; then
    how="as built"
    line="$(run_show)" || { echo "$how: zirvo gave no frame summary|n/a||"; continue; }
  else
    how="OpenGL (before)"
    line="$(run_show SDL_RENDER_DRIVER=opengl)" ||
      { echo "$how: zirvo gave no frame summary|n/a||"; continue; }
  fi
  frames="$(field frames "$line")"
  refresh="$(field refresh_ms "$line")"
  longest="$(field present_max_ms "$line")"
  over="$(field presents_over_refresh "$line")"
  means+=("$(field present_mean_ms "$line")")
  verdict="$(awk -v a="$longest" -v r="$refresh" 'BEGIN { print (a < r) ? "met" : "MISSED" }')"
  echo "$how [$(field renderer "$line")]: frames presented|$frames||"
  echo "$how: refresh interval, ms|$refresh||"
  echo "$how: present, mean ms|$(field present_mean_ms "$line")||"
  echo "$how: present, longest ms|$longest|< $refresh|$verdict"
  echo "$how: presents longer than the refresh|$over of $frames|0|$([ "$over" = 0 ] && echo met || echo MISSED)"
  echo "$how: longest interval between presents, ms|$(field interval_max_ms "$line")||"
  echo "$how: refreshes left without a frame|$(field refreshes_missed "$line")||"
  echo "$how: pixels set per second (whole run)|$(awk -v p="$(field pixels "$line")" \
    -v m="$(field ms "$line")" 'BEGIN { printf "%.0f", (m > 0) ? p * 1000 / m : 0 }')||"
done
if [ ${#means[@]} -eq 2 ]; then
  echo "mean present: OpenGL (before) / as built|$(awk -v a="${means[1]}" -v b="${means[0]}" \
    'BEGIN { printf "%.2fx", (b > 0) ? a / b : 0 }')||"
fi
