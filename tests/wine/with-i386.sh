#!/usr/bin/env bash
# with-i386.sh COMMAND [ARG...]
# Runs COMMAND where Wine's 32-bit programs start: as it is where this kernel
# runs 32-bit x86 code, and otherwise through user-mode emulation, inside a
# user and mount namespace of its own whose private binfmt_misc hands every
# 32-bit x86 ELF program (Wine's loader and everything it starts) to a static
# qemu-i386 (scripts/fetch-qemu-i386 brings it). The machine's own binfmt_misc
# is never touched: a kernel without a binfmt_misc per user namespace (before
# Linux 6.7) is a failure, not a reason to register globally.
#
# COMMAND and everything it starts run in that namespace and see ZIRVO_I386
# set to "native" or "emulated" (and ZIRVO_I386_EMULATOR to the qemu-i386
# used); its exit status is with-i386.sh's. When 32-bit programs cannot be
# started at all, one line names what is missing and the status is 77.
#   ZIRVO_QEMU_I386    the qemu-i386 to use (default: fetched into the cache)
#   ZIRVO_WINE_EMULATE=1  emulate even where the kernel runs 32-bit code (the
#                      way a machine without it runs, tried on one with it)
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
# Wine's 32-bit loader: what must start (wine32:i386 installs it).
LOADER=/usr/lib/wine/wine
CANNOT=77

missing() {
  echo "with-i386: cannot start 32-bit Windows programs: $*; ZIRVO_SKIP_WINE=1 skips these runs" >&2
  exit "$CANNOT"
}

# Status of the loader's --version: 0 it runs, 126 "exec format error".
probe() {
  local status=0
  "$LOADER" --version >/dev/null 2>&1 || status=$?
  return "$status"
}

# i386 ELF executables (type 2) and shared objects (type 3: PIE programs):
# magic and mask as binfmt_misc's register file takes them.
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# Inside the namespace: a binfmt_misc of its own, one entry for i386 with
# flag F (the emulator is opened now, so it is found from any mount and root).
inside() {
  local qemu=$1 mountpoint
  shift
  mountpoint=$(mktemp -d "${TMPDIR:-/tmp}/zirvo-binfmt.XXXXXX")
  if ! mount -t binfmt_misc zirvo-binfmt "$mountpoint" 2>/dev/null; then
    rmdir "$mountpoint"
    missing "this kernel ($(uname -r)) runs no 32-bit x86 code and has no binfmt_misc of" \
      "its own per user namespace (Linux 6.7 and later have), so qemu-i386 cannot be set up for" \
      "these tests alone; it is not registered for the whole machine"
  fi
  printf '%s' ":zirvo-i386:M::$I386_MAGIC:$I386_MASK:$qemu:F" >"$mountpoint/register"
  probe || missing "$LOADER does not start even through $qemu (status $?)"
  export ZIRVO_I386=emulated ZIRVO_I386_EMULATOR=$qemu
  exec "$@"
}

if [ "${1:-}" = --inside ]; then
  shift
  inside "$@"
fi

[ $# -gt 0 ] || { echo "usage: with-i386.sh COMMAND [ARG...]" >&2; exit 2; }
[ -x "$LOADER" ] || missing "no $LOADER (the package wine32:i386)"

if [ "${ZIRVO_WINE_EMULATE:-0}" != 1 ]; then
  status=0
  probe || status=$?
  if [ "$status" -eq 0 ]; then
    export ZIRVO_I386=native
    exec "$@"
  fi
  [ "$status" -eq 126 ] || missing "$LOADER --version fails with status $status"
fi

why="this kernel runs no 32-bit x86 code"
[ "${ZIRVO_WINE_EMULATE:-0}" = 1 ] && why="ZIRVO_WINE_EMULATE=1 asks for emulation"
qemu=${ZIRVO_QEMU_I386:-}
if [ -z "$qemu" ]; then
  qemu=$("$ROOT/scripts/fetch-qemu-i386") || missing "$why, and no qemu-i386 could be fetched (above)"
fi
[ -x "$qemu" ] || missing "$why, and $qemu is no program"
command -v unshare >/dev/null || missing "no unshare (the package util-linux)"
# No --fork (there is no PID namespace): COMMAND keeps this process's id, so
# signals sent to it reach COMMAND itself.
exec unshare --user --map-root-user --mount --propagation private "$0" --inside "$qemu" "$@"
