# Helpers for the Wine end-to-end tests: one Xvfb screen and one private Wine
# prefix per run, zirvo.exe started in its own folder, and bounded waits for
# its window and its end. Sourced by run.sh.

WINE_TEST_SCREEN_W=${WINE_TEST_SCREEN_W:-1024}
WINE_TEST_SCREEN_H=${WINE_TEST_SCREEN_H:-768}
# Upper bounds, not expected times: Wine's first start in a fresh prefix is slow.
WINDOW_TIMEOUT_S=${WINDOW_TIMEOUT_S:-60}
EXIT_TIMEOUT_S=${EXIT_TIMEOUT_S:-30}
# Every bound is multiplied by this: 32-bit programs emulated (tests/wine/with-i386.sh
# sets ZIRVO_I386) start and draw several times slower, more so on a busy machine.
if [ -z "${WINE_WAIT_FACTOR:-}" ]; then
  WINE_WAIT_FACTOR=1
  [ "${ZIRVO_I386:-}" = emulated ] && [ "${WINE_TEST_ARCH:-win32}" = win32 ] && WINE_WAIT_FACTOR=4
fi

XVFB_PID=""
ZIRVO_PID=""
ZIRVO_STARTED_NS=0

now_ns() { date +%s%N; }
elapsed_ms() { echo $(((($(now_ns)) - $1) / 1000000)); }

log() { echo "    $*"; }

# patient SECONDS: the bound to wait for, in seconds.
patient() { echo $(($1 * WINE_WAIT_FACTOR)); }

# Starts Xvfb on a free display number and exports DISPLAY.
start_xvfb() {
  local fd_file="$WORK/xvfb.display"
  Xvfb -displayfd 3 -screen 0 "${WINE_TEST_SCREEN_W}x${WINE_TEST_SCREEN_H}x24" -nolisten tcp \
    3>"$fd_file" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local deadline=$((SECONDS + 20))
  while [ ! -s "$fd_file" ]; do
    if ! kill -0 "$XVFB_PID" 2>/dev/null || [ $SECONDS -ge $deadline ]; then
      echo "Xvfb did not start:" >&2
      cat "$WORK/xvfb.log" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
}

# A fresh prefix under the work folder: no crash dialog (a crash must end the
# process with its code, not wait for a click), no virtual desktop (the program
# sees the Xvfb screen).
make_prefix() {
  export WINEPREFIX="$WORK/prefix"
  export WINEDEBUG=-all
  # The shipped programs are 32-bit; WINE_TEST_ARCH=win64 runs a 64-bit build
  # of the same sources in a 64-bit prefix (.ci/wine.sh win64), beside them.
  export WINEARCH=${WINE_TEST_ARCH:-win32}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  use_loader_of_arch || return 1
  local started
  started=$(now_ns)
  wineboot -i >"$WORK/wineboot.log" 2>&1
  cat >"$WORK/test-settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"=-
REG
  wineserver -w
  # One server for the whole run (cleanup ends it): otherwise each program
  # started more than a few seconds after the last one ended starts Wine's
  # server and its services anew, seconds each when emulated. The settings'
  # import is its first program: the session (services, desktop) is up before
  # the first test starts one (emulated on a busy machine, a program started
  # while it came up sometimes ended before its window showed).
  wineserver -p
  wine regedit /S "$(winepath -w "$WORK/test-settings.reg")" >>"$WORK/wineboot.log" 2>&1
  # A program that crashes says where in its log.
  export WINEDEBUG=-all,err+seh
  log "wine prefix ready in $(elapsed_ms "$started") ms"
}

# wine, wineboot and winepath of the prefix's width, first on PATH: /usr/bin/wine
# and the programs beside it start the 32-bit loader whenever wine32 is
# installed, even for a 64-bit prefix (wineserver picks its own rightly).
use_loader_of_arch() {
  local loader=/usr/lib/wine/wine package=wine32:i386 bin="$WORK/wine-bin" tool
  [ "$WINEARCH" = win64 ] && loader=/usr/lib/wine/wine64 package=wine64
  [ -x "$loader" ] || { echo "wine: no $loader (the package $package)" >&2; return 1; }
  export WINELOADER=$loader
  mkdir -p "$bin"
  printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$bin/wine"
  for tool in wineboot winepath; do
    printf '#!/bin/sh\nexec %s %s.exe "$@"\n' "$loader" "$tool" >"$bin/$tool"
  done
  chmod +x "$bin/wine" "$bin/wineboot" "$bin/winepath"
  case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac
}

cleanup() {
  [ -n "$ZIRVO_PID" ] && kill "$ZIRVO_PID" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  return 0
}

# make_case NAME SETTINGS-TEXT: a folder with zirvo.exe and its settings file.
make_case() {
  local dir="$WORK/$1"
  mkdir -p "$dir"
  cp "$EXE" "$dir/zirvo.exe"
  printf '%s\n' "$2" >"$dir/zirvo.ini"
  echo "$dir"
}

# start_zirvo DIR [SCENE]: runs DIR/zirvo.exe by its full Windows path from the
# work folder, so the settings file is found beside the program.
start_zirvo() {
  start_program "$1" zirvo.exe "${@:2}"
}

# start_program DIR PROGRAM [ARGS...]: the same for any program in DIR (its
# process is the one running() and wait_exit watch).
start_program() {
  local exe_win
  exe_win=$(winepath -w "$1/$2")
  shift 2
  ZIRVO_STARTED_NS=$(now_ns)
  (cd "$WORK" && exec wine "$exe_win" "$@") >"$WORK/zirvo.log" 2>&1 &
  ZIRVO_PID=$!
}

running() { [ -n "$ZIRVO_PID" ] && kill -0 "$ZIRVO_PID" 2>/dev/null; }

# Waits until the program's window is mapped; prints its X id.
wait_window() {
  wait_window_named '^Zirvo$'
}

# wait_window_named PATTERN: the same for the window whose title matches.
wait_window_named() {
  local deadline=$((SECONDS + $(patient "$WINDOW_TIMEOUT_S"))) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    running || { echo "program ended before its window showed" >&2; return 1; }
    sleep 0.1
  done
  echo "no window after $(patient "$WINDOW_TIMEOUT_S") s" >&2
  return 1
}

# wait_exit [TIMEOUT_S]: waits for the program to end; sets EXIT_CODE and
# RUN_MS (time since start). Fails (and kills it) on a time-out.
wait_exit() {
  local timeout
  timeout=$(patient "${1:-$EXIT_TIMEOUT_S}")
  local deadline=$((SECONDS + timeout))
  while running; do
    if [ $SECONDS -ge $deadline ]; then
      echo "still running after ${timeout}s" >&2
      kill "$ZIRVO_PID" 2>/dev/null
      wait "$ZIRVO_PID" 2>/dev/null
      ZIRVO_PID=""
      return 1
    fi
    sleep 0.05
  done
  wait "$ZIRVO_PID"
  EXIT_CODE=$?
  RUN_MS=$(elapsed_ms "$ZIRVO_STARTED_NS")
  ZIRVO_PID=""
  return 0
}

expect_exit_zero() {
  wait_exit "$@" || return 1
  if [ "$EXIT_CODE" -ne 0 ]; then
    echo "exit code $EXIT_CODE, expected 0" >&2
    return 1
  fi
}

shot() { import -window root "$1"; }

# Number of pixels of colour #RRGGBB in a screenshot.
count_colour() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The colours other than black, white-listed ones removed: prints what is left.
unexpected_colours() {
  local file=$1 args=() c
  shift
  for c in "$@" '#000000'; do args+=(-fill black -opaque "$c"); done
  convert "$file" "${args[@]}" -unique-colors txt:- | grep -v '^#' | grep -v '#000000' || true
}

# wait_screen FILE TIMEOUT TEST [ARG...]: screenshots the screen into FILE until
# `TEST FILE ARG...` holds, while the program runs, for at most TIMEOUT seconds
# (made patient). A shot that fails is taken again. The last shot stays in FILE.
wait_screen() {
  local file=$1 deadline test=$3
  deadline=$((SECONDS + $(patient "$2")))
  shift 3
  while :; do
    shot "$file" 2>/dev/null && "$test" "$file" "$@" && return 0
    if [ $SECONDS -ge $deadline ] || ! running; then
      running || echo "the program ended (last shot: $file)" >&2
      return 1
    fi
    sleep 0.3
  done
}

# has_colours FILE COLOUR...: each colour is in the picture.
has_colours() {
  local file=$1 c
  shift
  for c in "$@"; do
    [ "$(count_colour "$file" "$c")" -gt 0 ] || return 1
  done
}

# Waits until a screenshot holds every colour given; the last shot is FILE.
wait_colours() {
  local file=$1 c missing=""
  wait_screen "$1" "$2" has_colours "${@:3}" && return 0
  for c in "${@:3}"; do
    [ -f "$file" ] && [ "$(count_colour "$file" "$c")" -gt 0 ] || missing="$missing $c"
  done
  echo "colours never appeared:$missing" >&2
  return 1
}

# Colours that are not the given one blended over black (antialiased text):
# prints them, one per line.
colours_not_blends_of() {
  local file=$1 hex=${2#\#}
  convert "$file" -unique-colors txt:- | grep -v '^#' |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p' |
    awk -v R=$((16#${hex:0:2})) -v G=$((16#${hex:2:2})) -v B=$((16#${hex:4:2})) '
      function off(v, full, t) { return v - full * t < -3 || v - full * t > 3 }
      { t = $2 / G; if (off($1, R, t) || off($3, B, t)) print $1 "," $2 "," $3 }'
}

# Pixels that differ between two screenshots.
diff_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
