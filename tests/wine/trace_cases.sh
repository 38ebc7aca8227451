# shellcheck shell=bash
# The engine's numbers of the Windows build: zirvo-trace.exe (trace_show.cpp,
# the engine library as the Windows compiler and C runtime build it) under
# Wine against zirvo-render --trace of the native build (NATIVE, run.sh's
# second argument), line for line, on the sample scenes, the benchmark scenes,
# the Wine tests' scenes and TRACE_RANDOM_SHOWS random shows of fixed seeds
# (random_scenes.py). Sourced by run.sh after lib.sh.

TRACE_EXE="$BUILD/tests/wine/zirvo-trace.exe"
TRACE_ROOT=$(cd "$HERE/../.." && pwd)
TRACE_RANDOM_SHOWS=${TRACE_RANDOM_SHOWS:-50}

# trace_show FOLDER SETTINGS SCENE SCREEN SEED SECONDS: a folder of its own for
# one show, with the settings as its zirvo.ini (zirvo-trace.exe reads the one
# beside it, as zirvo.exe does), the scene and the run's line.
trace_show() {
  local folder=$1
  mkdir -p "$folder"
  cp "$2" "$folder/zirvo.ini"
  cp "$3" "$folder/scene.zrv"
  echo "$4 $5 $6" >"$folder/run"
}

# The shows, one folder each under $1.
trace_shows() {
  local dir=$1 scene name
  for scene in "$TRACE_ROOT"/scenes/*.zrv; do
    name=$(basename "$scene" .zrv)
    trace_show "$dir/sample-$name" "$TRACE_ROOT/scenes/zirvo.ini" "$scene" 1024x768 7 60
  done
  for scene in "$TRACE_ROOT"/bench/scenes/*.zrv; do
    name=$(basename "$scene" .zrv)
    trace_show "$dir/bench-$name" "$TRACE_ROOT/bench/scenes/zirvo.ini" "$scene" 1920x1080 99 20
  done
  printf '%s\n' "$FAST_SETTINGS" >"$dir/fast.ini"
  for scene in "$HERE"/scenes/*.zrv; do
    name=$(basename "$scene" .zrv)
    trace_show "$dir/wine-$name" "$dir/fast.ini" "$scene" "$SCREEN_SIZE" 3 20
  done
  python3 "$HERE/random_scenes.py" "$dir" "$TRACE_RANDOM_SHOWS" 1
}

case_engine_traces_equal_linux() {
  if [ -z "$NATIVE" ]; then
    echo "SKIPPED: no native build given to compare with (run.sh BUILD NATIVE_BUILD)" >&2
    return "$SKIPPED"
  fi
  local render="$NATIVE/tools/zirvo-render" dir="$WORK/traces" folder screen seed seconds
  [ -x "$render" ] || { echo "the native build has no $render" >&2; return 1; }
  [ -f "$TRACE_EXE" ] || { echo "no $TRACE_EXE" >&2; return 1; }
  rm -rf "$dir"
  mkdir -p "$dir"
  trace_shows "$dir" || return 1
  local shows=0 lines=0 identical=0 differ=() started linux_ms=0 windows_ms=0
  for folder in "$dir"/*/; do
    folder=${folder%/}
    read -r screen seed seconds <"$folder/run"
    started=$(now_ns)
    "$render" --settings "$folder/zirvo.ini" --trace "$folder/linux.trace" --delay-us 100 \
      --seconds "$seconds" --seed "$seed" --screen "$screen" "$folder/scene.zrv" 2>"$folder/linux.err" ||
      { cat "$folder/linux.err" >&2; return 1; }
    linux_ms=$((linux_ms + $(elapsed_ms "$started")))
    ln -f "$TRACE_EXE" "$folder/zirvo-trace.exe" 2>/dev/null || cp "$TRACE_EXE" "$folder/"
    started=$(now_ns)
    (cd "$folder" && wine zirvo-trace.exe scene.zrv "$screen" "$seed" "$seconds" windows.trace) \
      >"$folder/windows.out" 2>"$folder/windows.err" ||
      { echo "$(basename "$folder"): zirvo-trace.exe failed:" >&2; cat "$folder/windows.err" >&2; return 1; }
    windows_ms=$((windows_ms + $(elapsed_ms "$started")))
    shows=$((shows + 1))
    lines=$((lines + $(wc -l <"$folder/linux.trace")))
    if cmp -s "$folder/linux.trace" "$folder/windows.trace"; then
      identical=$((identical + 1))
    else
      differ+=("$(basename "$folder")")
      trace_difference "$folder" >&2
    fi
  done
  log "traces: $shows scenes, $lines lines (Linux), $identical identical;" \
    "zirvo-render $linux_ms ms, zirvo-trace.exe $windows_ms ms in all"
  [ ${#differ[@]} -eq 0 ] || { echo "traces differ: ${differ[*]}" >&2; return 1; }
  [ "$shows" -ge $((TRACE_RANDOM_SHOWS + 10)) ] || { echo "only $shows shows traced" >&2; return 1; }
}

# How two traces of FOLDER differ: the counts and the first differing line.
trace_difference() {
  local folder=$1 first
  first=$(cmp "$folder/linux.trace" "$folder/windows.trace" 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p')
  echo "$(basename "$folder"): $(wc -l <"$folder/linux.trace") lines on Linux," \
    "$(wc -l <"$folder/windows.trace") on Windows; first difference at line ${first:-?}:" \
    "Linux \"$(sed -n "${first:-1}p" "$folder/linux.trace")\"," \
    "Windows \"$(sed -n "${first:-1}p" "$folder/windows.trace")\""
}

TRACE_CASES=(case_engine_traces_equal_linux)
