#!/usr/bin/env bash
# The Windows build, proven.
#   .ci/wine.sh [win32|win64]
# win32 (the default): cross-compiles the shipped programs, zirvo.exe, zirvo.scr
# and zirvo-check.exe, with MinGW (i686), checks that they are 32-bit
# executables needing only Windows' own DLLs (and zirvo.scr's resources), and
# runs the Wine end-to-end tests on Xvfb (tests/wine/run.sh), comparing
# zirvo-check.exe with the Linux zirvo-check and the engine's pixel traces
# with zirvo-render's of the native build (BUILD_DIR, default build/). Wine's
# 32-bit programs run natively where the kernel runs 32-bit x86 code, and
# through qemu-i386 in a namespace of their own where it does not
# (tests/wine/with-i386.sh).
# win64: the same sources for x86_64 (build-win64), the same tests under wine64
# in a 64-bit prefix: a second net on any machine, never in place of win32.
#
# Where the programs cannot be started at all, one line names what is missing
# and the step fails; ZIRVO_SKIP_WINE=1 makes that a skip, said as loudly.
# ZIRVO_WINDOWS_RUNS, when set, names a file that gets one line per run (see
# scripts/test). Exits non-zero on any failure. Needs: cmake, mingw-w64, wine,
# wine32:i386, wine64, xvfb, xdotool, imagemagick, file, python3.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
ARCH=${1:-win32}
started=$SECONDS

case "$ARCH" in
  win32)
    BUILD=${ZIRVO_WIN32_BUILD:-$ROOT/build-win32}
    TOOLCHAIN=$ROOT/cmake/mingw-i686.cmake
    PREFIX=i686-w64-mingw32
    PE="PE32 executable"
    MACHINE="Intel 80386"
    RUNNER=("$ROOT/tests/wine/with-i386.sh")
    ;;
  win64)
    BUILD=${ZIRVO_WIN64_BUILD:-$ROOT/build-win64}
    TOOLCHAIN=$ROOT/cmake/mingw-x86_64.cmake
    PREFIX=x86_64-w64-mingw32
    PE="PE32+ executable"
    MACHINE="x86-64"
    RUNNER=(env WINE_TEST_ARCH=win64)
    ;;
  *) echo "usage: .ci/wine.sh [win32|win64]" >&2; exit 2 ;;
esac
NATIVE=${BUILD_DIR:-$ROOT/build}
[ -x "$NATIVE/tools/zirvo-render" ] || NATIVE=""

# record WHAT: one line for scripts/test's list of the Windows runs made.
record() { [ -z "${ZIRVO_WINDOWS_RUNS:-}" ] || echo "$*" >>"$ZIRVO_WINDOWS_RUNS"; }

mkdir -p "$BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DZIRVO_WERROR=ON >"$BUILD/configure.log" 2>&1 || { cat "$BUILD/configure.log"; exit 1; }
cmake --build "$BUILD" --target zirvo zirvo-scr zirvo-check preview-host zirvo-trace \
  frame-wait-check -j2
echo "wine.sh $ARCH: cross build took $((SECONDS - started)) s"

# check_program FILE KIND DLL...: FILE is an executable of this build's
# machine and of KIND (GUI or console) that imports from the DLLs named and no
# others: the programs carry their C and C++ runtime inside.
check_program() {
  local file=$1 kind=$2 dlls dll
  shift 2
  case "$(file -b "$file")" in
    "$PE ($kind) $MACHINE"*) echo "$(basename "$file"): $PE ($kind) $MACHINE" ;;
    *) echo "$file is not a $PE ($kind) $MACHINE: $(file -b "$file")" >&2; exit 1 ;;
  esac
  dlls=$("$PREFIX-objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort)
  echo "  DLLs: $(echo $dlls)"
  for dll in $dlls; do
    [[ " $* " == *" $dll "* ]] || { echo "$file needs $dll, which it must not" >&2; exit 1; }
  done
}
check_program "$BUILD/zirvo.exe" GUI KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL
check_program "$BUILD/zirvo.scr" GUI KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL ADVAPI32.DLL \
  COMDLG32.DLL
check_program "$BUILD/zirvo-check.exe" console KERNEL32.DLL MSVCRT.DLL
EXE="$BUILD/zirvo.exe"

# The drawing thread asks for a 1024-byte stack; Windows commits a page and
# reserves the executable's default for it to grow into.
reserve=$("$PREFIX-objdump" -p "$EXE" | awk '/SizeOfStackReserve/ {print $2}')
echo "stack reserve per thread: 0x$reserve bytes"
[ $((16#$reserve)) -ge $((1024 * 1024)) ] || { echo "stack reserve below 1 MiB" >&2; exit 1; }

# zirvo.scr's resources: string 1 is the name Windows lists it by; a manifest
# that declares it DPI-aware; a version.
resources=$("$PREFIX-windres" -i "$BUILD/zirvo.scr" -O rc)
grep -q '^  1, "Zirvo"$' <<<"$resources" || { echo "zirvo.scr: no string 1 \"Zirvo\"" >&2; exit 1; }
grep -q 'dpiAware.*true' <<<"$resources" || { echo "zirvo.scr: no DPI-aware manifest" >&2; exit 1; }
grep -q 'VALUE "FileVersion"' <<<"$resources" || { echo "zirvo.scr: no version" >&2; exit 1; }
echo "zirvo.scr resources: string 1 \"Zirvo\", DPI-aware manifest, version"

for shipped in zirvo.ini README.TXT demo.zrv; do
  [ -s "$BUILD/$shipped" ] || { echo "$shipped is not beside zirvo.exe" >&2; exit 1; }
done

if [ "$ARCH" = win64 ] && [ ! -x /usr/lib/wine/wine64 ]; then
  echo "wine.sh win64: cannot start 64-bit Windows programs: no /usr/lib/wine/wine64 (the" \
    "package wine64); ZIRVO_SKIP_WINE=1 skips these runs" >&2
  status=77
else
  suite_started=$SECONDS
  status=0
  "${RUNNER[@]}" bash "$ROOT/tests/wine/run.sh" "$BUILD" "$NATIVE" 2>&1 | tee "$BUILD/wine-run.log" ||
    status=${PIPESTATUS[0]}
  echo "wine.sh $ARCH: the Wine tests took $((SECONDS - suite_started)) s"
fi
if [ "$status" -eq 77 ]; then
  if [ "${ZIRVO_SKIP_WINE:-}" = 1 ]; then
    echo "wine.sh $ARCH: SKIPPED the Wine tests (ZIRVO_SKIP_WINE=1): the programs were built and" \
      "checked, not run" >&2
    record "$ARCH: SKIPPED (ZIRVO_SKIP_WINE=1), Wine tests not run"
    exit 0
  fi
  exit 1
fi
how=$(sed -n 's/^wine: Windows programs: //p' "$BUILD/wine-run.log" | head -n1)
tally=$(grep -E '^wine: [0-9]+ passed, [0-9]+ failed' "$BUILD/wine-run.log" | tail -n1 | sed 's/^wine: //')
record "$ARCH ${how:-?}: Wine tests ${tally:-not finished}"
echo "wine.sh $ARCH took $((SECONDS - started)) s"
exit "$status"
