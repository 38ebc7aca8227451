#!/usr/bin/env bash
# The Windows build, proven: cross-compiles zirvo.exe, zirvo.scr and
# zirvo-check.exe with MinGW (i686), checks that they are 32-bit executables
# needing only Windows' own DLLs (and zirvo.scr's resources), and runs the Wine
# end-to-end tests on Xvfb, comparing zirvo-check.exe with the Linux build's
# zirvo-check when BUILD_DIR names that build. Exits non-zero on any failure.
# Needs: cmake, mingw-w64, wine, wine32:i386, xvfb, xdotool, imagemagick, file.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${ZIRVO_WIN32_BUILD:-$ROOT/build-win32}
started=$SECONDS

mkdir -p "$BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
  -DZIRVO_WERROR=ON >"$BUILD/configure.log" 2>&1 || { cat "$BUILD/configure.log"; exit 1; }
cmake --build "$BUILD" --target zirvo zirvo-scr zirvo-check preview-host -j2
echo "cross build took $((SECONDS - started)) s"

# check_program FILE KIND DLL...: FILE is a 32-bit executable of KIND (GUI or
# console) that imports from the DLLs named and no others: the programs carry
# their C and C++ runtime inside.
check_program() {
  local file=$1 kind=$2 dlls dll
  shift 2
  case "$(file -b "$file")" in
    "PE32 executable ($kind) Intel 80386"*) echo "$(basename "$file"): PE32 $kind" ;;
    *) echo "$file is not a 32-bit $kind executable: $(file -b "$file")" >&2; exit 1 ;;
  esac
  dlls=$(i686-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort)
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
reserve=$(i686-w64-mingw32-objdump -p "$EXE" | awk '/SizeOfStackReserve/ {print $2}')
echo "stack reserve per thread: 0x$reserve bytes"
[ $((16#$reserve)) -ge $((1024 * 1024)) ] || { echo "stack reserve below 1 MiB" >&2; exit 1; }

# zirvo.scr's resources: string 1 is the name Windows lists it by; a manifest
# that declares it DPI-aware; a version.
resources=$(i686-w64-mingw32-windres -i "$BUILD/zirvo.scr" -O rc)
grep -q '^  1, "Zirvo"$' <<<"$resources" || { echo "zirvo.scr: no string 1 \"Zirvo\"" >&2; exit 1; }
grep -q 'dpiAware.*true' <<<"$resources" || { echo "zirvo.scr: no DPI-aware manifest" >&2; exit 1; }
grep -q 'VALUE "FileVersion"' <<<"$resources" || { echo "zirvo.scr: no version" >&2; exit 1; }
echo "zirvo.scr resources: string 1 \"Zirvo\", DPI-aware manifest, version"

for shipped in zirvo.ini README.TXT demo.zrv; do
  [ -s "$BUILD/$shipped" ] || { echo "$shipped is not beside zirvo.exe" >&2; exit 1; }
done

# Wine's 32-bit loader is itself a 32-bit Linux program. Some virtual machines
# run kernels without 32-bit support, where no 32-bit program can start: the
# build and its checks above stand, the run is reported as skipped, loudly.
loader=/usr/lib/wine/wine
status=0
[ -x "$loader" ] && { "$loader" --version >/dev/null 2>&1 || status=$?; }
if [ "$status" -eq 126 ]; then
  echo "wine: SKIPPED the Wine tests: this machine's kernel cannot run 32-bit x86 programs" \
    "($loader: exec format error); the Windows programs were built and checked, not run" >&2
  exit 0
fi
bash "$ROOT/tests/wine/run.sh" "$BUILD" "${BUILD_DIR:-}"
echo "wine.sh took $((SECONDS - started)) s"
