#!/usr/bin/env bash
# The packages, proven: builds the Debian package and the Windows zip
# (scripts/package), runs lintian on the package (no errors allowed), installs
# it with apt, runs the installed programs from PATH (zirvo on Xvfb, reading
# /etc/zirvo/zirvo.ini through its links), purges it and checks that nothing of
# it is left; then unpacks the zip into a fresh Wine prefix and runs zirvo.exe
# from there (32-bit, emulated where the kernel runs no 32-bit code: see
# tests/wine/with-i386.sh; ZIRVO_SKIP_WINE=1 skips that run where it cannot
# start). Prints the time of each step. Needs root or sudo, and what
# `scripts/install-deps test` installs.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$ROOT/build-deb/package-checks
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
apt_get=("${sudo_cmd[@]}" apt-get -q -o DPkg::Lock::Timeout=600)

# shellcheck source=../tests/wine/lib.sh
source "$ROOT/tests/wine/lib.sh"
trap cleanup EXIT
BANNER='#80FF80'

step() {
  local name=$1 started=$SECONDS
  shift
  echo "== package: $name"
  "$@"
  echo "== package: $name took $((SECONDS - started)) s"
}

# The picture holds colours other than black and the usage banner's green.
show_is_drawing() { [ -n "$(colours_not_blends_of "$1" "$BANNER")" ]; }
banner_only() { [ "$(count_colour "$1" "$BANNER")" -gt 0 ] && ! show_is_drawing "$1"; }

# run_until_click TEST SHOT COMMAND...: starts the program, waits for its window
# and for TEST on the screen, clicks, and expects it to end with exit code 0.
run_until_click() {
  local test=$1 file=$2
  shift 2
  ZIRVO_STARTED_NS=$(now_ns)
  (cd "$WORK" && exec "$@") >"$WORK/zirvo.log" 2>&1 &
  ZIRVO_PID=$!
  wait_window >/dev/null || { cat "$WORK/zirvo.log" >&2; return 1; }
  wait_screen "$file" 60 "$test" ||
    { echo "the screen never passed $test (last shot: $file)" >&2; return 1; }
  xdotool mousemove 300 300 click 1
  expect_exit_zero 20 || return 1
  log "$* showed ($test) and ended on a click with code 0 after $RUN_MS ms"
}

build() {
  "$ROOT/scripts/package"
  DEB=$(ls "$ROOT"/out/zirvo_*.deb)
  ZIP=$(ls "$ROOT"/out/zirvo-*-win32.zip)
  log "$(basename "$DEB"): $(stat -c %s "$DEB") bytes; $(basename "$ZIP"): $(stat -c %s "$ZIP") bytes"
}

run_lintian() {
  # Errors fail the step; the warnings left are explained in the packaging notes.
  lintian --fail-on error --display-level '>=warning' "$DEB" 2>&1 | grep -v 'root privileges' || true
  lintian --fail-on error "$DEB" >/dev/null 2>&1
}

install_package() {
  if dpkg-query -W -f='${Status}' zirvo 2>/dev/null | grep -q 'install ok installed'; then
    [ "${CI:-}" = true ] || { echo "zirvo is installed on this machine already; not replacing it" >&2; return 1; }
    "${apt_get[@]}" purge -y zirvo
  fi
  # The screensaver host it recommends is not needed to check the package itself.
  "${apt_get[@]}" install -y --no-install-recommends "$DEB"
}

run_installed_programs() {
  export PATH=$PATH:/usr/games  # where Debian's login PATH has games
  local scene=/usr/share/zirvo/scenes/demo.zrv program
  for program in zirvo zirvo-check zirvo-render; do
    log "$program is $(command -v "$program")"
  done
  zirvo-check "$scene" >"$WORK/check.txt"
  grep -q "settings: /usr/lib/zirvo/zirvo.ini" "$WORK/check.txt" ||
    { echo "zirvo-check did not read the settings beside it:" >&2; cat "$WORK/check.txt" >&2; return 1; }
  zirvo-render --png "$WORK/demo.png" --seconds 5 "$scene" >/dev/null
  local lit
  lit=$(convert "$WORK/demo.png" -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$lit" -gt 100 ] || { echo "zirvo-render drew $lit pixels of the demo" >&2; return 1; }
  log "zirvo-check read $scene; zirvo-render drew $lit pixels of it in 5 s"
  local shipped
  for shipped in "$ROOT"/scenes/*.zrv; do
    cmp -s "$shipped" "/usr/share/zirvo/scenes/$(basename "$shipped")" ||
      { echo "the package has no /usr/share/zirvo/scenes/$(basename "$shipped") as in scenes/" >&2; return 1; }
  done
  log "the package holds all $(ls "$ROOT"/scenes/*.zrv | wc -l) scenes of scenes/"

  start_xvfb
  # Without the configuration file the links lead nowhere: the usage banner.
  local status=0
  "${sudo_cmd[@]}" mv /etc/zirvo/zirvo.ini "$WORK/zirvo.ini.saved"
  run_until_click banner_only "$WORK/no-settings.png" zirvo "$scene" || status=1
  "${sudo_cmd[@]}" mv "$WORK/zirvo.ini.saved" /etc/zirvo/zirvo.ini
  [ "$status" -eq 0 ] || return 1
  # Edited by its administrator (a fixed speed, no calibration), it still works.
  echo "wait=200" | "${sudo_cmd[@]}" tee -a /etc/zirvo/zirvo.ini >/dev/null
  run_until_click show_is_drawing "$WORK/show.png" zirvo "$scene"
}

purge_package() {
  dpkg-deb -c "$DEB" | awk '{ print $6 }' | sed 's|^\.||' >"$WORK/contents"
  "${apt_get[@]}" purge -y zirvo
  if dpkg-query -W -f='${Status}' zirvo 2>/dev/null | grep -qv 'not-installed'; then
    echo "zirvo is still known to dpkg: $(dpkg-query -W -f='${Status}' zirvo)" >&2
    return 1
  fi
  local path left=()
  while read -r path; do
    path=${path%/}
    [ -n "$path" ] || continue
    # Shared directories (/usr/bin, /usr/share/man/man1 ...) stay; ours must go.
    if [ -d "$path" ] && [ ! -L "$path" ] && [[ $path != *zirvo* ]]; then continue; fi
    [ -e "$path" ] || [ -L "$path" ] && left+=("$path")
  done <"$WORK/contents"
  [ ${#left[@]} -eq 0 ] || { echo "left after the purge: ${left[*]}" >&2; return 1; }
  log "purged: none of the package's $(wc -l <"$WORK/contents") paths is left"
}

check_zip() {
  local folder dir name scene
  folder=$(basename "$ZIP" .zip)
  dir=$WORK/zip/$folder
  mkdir -p "$WORK/zip"
  (cd "$WORK/zip" && cmake -E tar xf "$ZIP")
  for name in zirvo.exe zirvo.ini README.TXT; do
    [ -s "$dir/$name" ] || { echo "the zip has no $folder/$name" >&2; return 1; }
  done
  # Every scene of scenes/, as it is.
  for scene in "$ROOT"/scenes/*.zrv; do
    cmp -s "$scene" "$dir/$(basename "$scene")" ||
      { echo "the zip has no $folder/$(basename "$scene") as in scenes/" >&2; return 1; }
  done
  file -b "$dir/README.TXT" | grep -q CRLF || { echo "README.TXT has no CR LF line ends" >&2; return 1; }
  log "zip: $(cd "$dir" && echo *)"
}

# In a namespace of its own where 32-bit programs are emulated (with-i386.sh),
# this script again, for the Wine run alone: the apt steps stay outside.
run_zip_under_wine() {
  local status=0
  "$ROOT/tests/wine/with-i386.sh" "$0" --zip-under-wine "$ZIP" || status=$?
  if [ "$status" -eq 77 ] && [ "${ZIRVO_SKIP_WINE:-}" = 1 ]; then
    echo "package: SKIPPED running the zip under Wine (ZIRVO_SKIP_WINE=1); its contents were checked" >&2
    record "zip: SKIPPED (ZIRVO_SKIP_WINE=1)"
    return 0
  fi
  return "$status"
}

# The zip unpacked into a fresh 32-bit prefix, on a screen of its own;
# zirvo.exe started from there on its sample scene.
zip_in_fresh_prefix() {
  WORK=$WORK/zip-wine
  rm -rf "$WORK"
  mkdir -p "$WORK"
  start_xvfb
  make_prefix
  local folder exe_win
  folder=$(basename "$ZIP" .zip)
  (cd "$WINEPREFIX/drive_c" && cmake -E tar xf "$ZIP")
  exe_win=$(winepath -w "$WINEPREFIX/drive_c/$folder/zirvo.exe")
  run_until_click show_is_drawing "$WORK/wine.png" wine "$exe_win" "C:\\$folder\\demo.zrv"
  record "zip 32-bit, ${ZIRVO_I386:-native}: zirvo.exe drew its scene and ended on a click"
}

# record WHAT: one line for scripts/test's list of the Windows runs made.
record() { [ -z "${ZIRVO_WINDOWS_RUNS:-}" ] || echo "$*" >>"$ZIRVO_WINDOWS_RUNS"; }

if [ "${1:-}" = --zip-under-wine ]; then
  ZIP=$2
  zip_in_fresh_prefix
  exit
fi

rm -rf "$WORK"
mkdir -p "$WORK"
started=$SECONDS
step "build both packages" build
step "lintian" run_lintian
step "apt-get install" install_package
step "installed programs" run_installed_programs
step "purge" purge_package
step "zip contents" check_zip
step "zip under Wine" run_zip_under_wine
echo "package.sh took $((SECONDS - started)) s"
