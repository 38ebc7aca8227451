#!/usr/bin/env bash
# The install scripts against a recorded Debian mirror (tests/apt/state, made by
# record.sh), served over HTTP on the loopback address: real apt-get and
# apt-cache use it through APT_CONFIG, with their own lists, status and
# preferences, and only simulate installs. A bad mirror day is made by breaking
# chosen indexes: their Release entry gives a wrong size, so `apt-get update`
# fails on them as on a mirror in the middle of a sync, and keeps the lists it had.
#   tests/apt/run.sh     prints one line per case and "N passed, N failed"
set -u
here=$(cd "$(dirname "$0")" && pwd)
scripts=$(cd "$here/../../scripts" && pwd)
for tool in apt-get python3; do
  command -v "$tool" >/dev/null || { echo "apt tests skipped: no $tool"; exit 77; }
done

WORK=$(mktemp -d)
SERVER_PID=""
trap '[ -n "$SERVER_PID" ] && kill "$SERVER_PID"; rm -rf "$WORK"' EXIT

# Serves $WORK on a free loopback port; sets MIRROR_URL.
start_server() {
  python3 -u -m http.server --bind 127.0.0.1 --directory "$WORK" 0 >"$WORK/server.log" 2>&1 &
  SERVER_PID=$!
  local deadline=$((SECONDS + 10)) port=""
  while [ -z "$port" ]; do
    port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$WORK/server.log" | head -n1)
    [ $SECONDS -lt $deadline ] || { echo "the mirror's web server did not start"; exit 1; }
    sleep 0.1
  done
  MIRROR_URL=http://127.0.0.1:$port/machine/mirror
}
start_server
# The packages whose i386 builds a first Wine install pulls in, among others.
I386_LIBS=(libssl3:i386 zlib1g:i386 libpcre2-8-0:i386)

# new_machine [SUITE/ARCH whose index is broken...]: a fresh apt state in
# $WORK/machine, as on a machine that has the recorded amd64 packages and has
# just added the i386 architecture: its lists were updated for amd64 alone, then
# the mirror broke the indexes named. Exports APT_CONFIG.
new_machine() {
  local root=$WORK/machine
  rm -rf "$root"
  mkdir -p "$root"/{lists/partial,cache/archives/partial,etc/apt.conf.d,etc/preferences.d,etc/sources.list.d,log}
  cp "$here/state/status" "$root/status"
  export APT_CONFIG=$root/apt.conf
  export APT_UPDATE_TRIES=2 APT_UPDATE_PAUSE=0
  write_mirror "$root/mirror" 2025-05-20
  write_config "$root" amd64
  apt-get -qq update >/dev/null 2>&1 || { echo "    the first update failed"; return 1; }
  write_config "$root" amd64 i386
  write_mirror "$root/mirror" 2025-05-21 "$@"
}

# write_mirror DIR DATE [BROKEN...]: a repository per recorded suite, published
# on DATE, whose Release gives a wrong size for each broken SUITE/ARCH index.
write_mirror() {
  local mirror=$1 date=$2 suite arch list size broken
  shift 2
  for suite in "$here"/state/*/; do
    suite=$(basename "$suite")
    mkdir -p "$mirror/dists/$suite"
    {
      printf 'Origin: Debian\nSuite: %s\nCodename: %s\nArchitectures: amd64 i386\nComponents: main\n' "$suite" "$suite"
      printf 'Date: %s\nSHA256:\n' "$(date -u -R -d "$date")"
      for list in "$here/state/$suite"/*.Packages; do
        arch=$(basename "$list" .Packages)
        mkdir -p "$mirror/dists/$suite/main/binary-$arch"
        cp "$list" "$mirror/dists/$suite/main/binary-$arch/Packages"
        size=$(stat -c %s "$list")
        for broken in "$@"; do
          [ "$broken" = "$suite/$arch" ] && size=$((size + 1))
        done
        printf ' %s %s main/binary-%s/Packages\n' "$(sha256sum <"$list" | cut -d' ' -f1)" "$size" "$arch"
      done
    } >"$mirror/dists/$suite/Release"
    touch -d "$date" "$mirror/dists/$suite/Release"  # what the server gives as Last-Modified
  done
}

# write_config ROOT ARCH...: apt's settings for the machine in ROOT.
write_config() {
  local root=$1 suite
  shift
  : >"$root/etc/sources.list"
  for suite in "$here"/state/*/; do
    echo "deb [trusted=yes] $MIRROR_URL $(basename "$suite") main" >>"$root/etc/sources.list"
  done
  cat >"$root/apt.conf" <<EOF
Dir::Etc "$root/etc";
Dir::Etc::main "/dev/null";
Dir::State "$root";
Dir::State::lists "$root/lists";
Dir::State::status "$root/status";
Dir::Cache "$root/cache";
Dir::Log "$root/log";
APT::Architecture "$1";
APT::Architectures { $(printf '"%s"; ' "$@")};
APT::Get::Simulate "true";
APT::Sandbox::User "root";
Acquire::http::Proxy "DIRECT";
Acquire::Retries "0";
Acquire::Languages "none";
Debug::NoLocking "true";
EOF
}

pin_files() { find "$WORK/machine/etc/preferences.d" -type f | wc -l; }

expect_in() {  # expect_in TEXT PATTERN WHAT
  grep -qE -- "$2" <<<"$1" || { echo "    expected $3 (/$2/)"; return 1; }
}
expect_not_in() {
  ! grep -qE -- "$2" <<<"$1" || { echo "    did not expect $3 (/$2/)"; return 1; }
}

# ---- cases --------------------------------------------------------------------

# The i386 security index fails to download: with the lists that are left, the
# i386 libraries' newest versions are older than the amd64 ones installed, and a
# plain install of them cannot be resolved. That is the fault the pins are for.
case_stale_i386_index_breaks_a_plain_install() {
  new_machine bookworm-security/i386 || return 1
  apt-get -q update >/dev/null 2>&1
  local out
  out=$(apt-get install -y --no-install-recommends --no-remove "${I386_LIBS[@]}" 2>&1) &&
    { echo "    a plain install went through: the recording does not show the fault"; return 1; }
  expect_in "$out" 'REMOVED:' "that apt would remove the amd64 builds" || return 1
  expect_in "$out" '^  libpcre2-8-0 libssl3 zlib1g$' "the three amd64 libraries" || return 1
  expect_in "$out" 'Packages need to be removed but remove is disabled' "apt's refusal"
}

# apt-pins pins each skewed source package to the newest version both offer,
# and nothing else: glibc and gcc-12 agree across the architectures, and a
# library installed for amd64 but not asked for on i386 has no reason to wait.
case_pins_name_each_skewed_source_once() {
  new_machine bookworm-security/i386 || return 1
  apt-get -q update >/dev/null 2>&1
  local pins
  pins=$("$scripts/apt-pins" "${I386_LIBS[@]}" 2>"$WORK/notes") || return 1
  local expected
  expected=$(printf 'Package: src:%s:any\nPin: version %s\nPin-Priority: 1001\n\n' \
    openssl 3.0.20-1~deb12u2 pcre2 10.42-1 zlib 1:1.2.13.dfsg-1)
  [ "$pins" = "$expected" ] || { echo "    pins:"; echo "$pins" | sed 's/^/    | /'; return 1; }
  expect_in "$(cat "$WORK/notes")" 'libssl3: amd64 offers 3\.0\.22-1~deb12u2, i386 3\.0\.20-1~deb12u2' "a note per pin" || return 1
  # Only what will be on both architectures is held back: libssl3 and
  # libpcre2-8-0 stay on amd64 alone here and keep their newest version.
  pins=$("$scripts/apt-pins" zlib1g:i386 2>/dev/null) || return 1
  expected=$(printf 'Package: src:zlib:any\nPin: version 1:1.2.13.dfsg-1\nPin-Priority: 1001\n\n')
  [ "$pins" = "$expected" ] || { echo "    pins for zlib1g:i386 alone:"; echo "$pins" | sed 's/^/    | /'; return 1; }
}

# When every index is there the architectures agree: no pin at all, and none
# with a single architecture either.
case_no_pins_when_architectures_agree() {
  new_machine || return 1
  apt-get -q update >/dev/null 2>&1 || { echo "    update failed on a whole mirror"; return 1; }
  local pins
  pins=$("$scripts/apt-pins" "${I386_LIBS[@]}" libc6 2>&1) || return 1
  [ -z "$pins" ] || { echo "    unexpected: $pins"; return 1; }
  local out
  out=$("$scripts/apt-install" "${I386_LIBS[@]}" 2>&1) || { echo "$out" | tail -5; return 1; }
  expect_not_in "$out" 'temporary pins|update failed' "pins or retries" || return 1
  expect_in "$out" '^Inst libssl3:i386 \(3\.0\.22' "the newest libssl3:i386" || return 1
  [ "$(pin_files)" -eq 0 ] || return 1

  new_machine bookworm-security/i386 || return 1
  write_config "$WORK/machine" amd64
  pins=$("$scripts/apt-pins" libc6 libssl3 2>&1) || return 1
  [ -z "$pins" ] || { echo "    unexpected with one architecture: $pins"; return 1; }
}

# The whole install on that day: update is retried, then the install goes on
# with the lists there are, pins line the architectures up (downgrading the
# amd64 libraries), and the pin file is gone afterwards.
case_install_goes_through_a_failed_update() {
  new_machine bookworm-security/i386 || return 1
  local out
  out=$("$scripts/apt-install" "${I386_LIBS[@]}" 2>&1) || { echo "$out" | tail -8 | sed 's/^/    /'; return 1; }
  expect_in "$out" 'File has unexpected size \([0-9]+ != [0-9]+\)\. Mirror sync in progress\?' "apt's own complaint" || return 1
  expect_in "$out" 'apt-get update failed \(try 2 of 2\)' "the retries" || return 1
  expect_in "$out" 'going on with the package lists' "that it goes on" || return 1
  expect_in "$out" 'Package: src:openssl:any' "the pins shown" || return 1
  expect_in "$out" '^Inst libssl3 \[3\.0\.22-1~deb12u2\] \(3\.0\.20-1~deb12u2' "the amd64 downgrade" || return 1
  expect_in "$out" '^Inst libssl3:i386 \(3\.0\.20-1~deb12u2' "libssl3:i386" || return 1
  [ "$(pin_files)" -eq 0 ] || { echo "    the pin file was left behind"; return 1; }
}

# A package the mirror does not have: named with apt's reason, the exit status
# is 1, the others are installed all the same and the pins are removed.
case_missing_package_is_named_and_the_rest_installed() {
  new_machine bookworm-security/i386 || return 1
  local out status
  out=$("$scripts/apt-install" wine32:i386 "${I386_LIBS[@]}" 2>&1)
  status=$?
  [ "$status" -eq 1 ] || { echo "    exit status $status, expected 1"; return 1; }
  expect_in "$out" 'cannot install wine32:i386:' "the package named" || return 1
  expect_in "$out" 'Unable to locate package wine32:i386' "apt's reason" || return 1
  expect_in "$out" 'not installed: wine32:i386$' "the summary" || return 1
  expect_in "$out" '^Inst zlib1g:i386' "the others installed" || return 1
  [ "$(pin_files)" -eq 0 ] || { echo "    the pin file was left behind"; return 1; }
}

# ---- runner -------------------------------------------------------------------

CASES=(
  case_stale_i386_index_breaks_a_plain_install
  case_pins_name_each_skewed_source_once
  case_no_pins_when_architectures_agree
  case_install_goes_through_a_failed_update
  case_missing_package_is_named_and_the_rest_installed
)

passed=0
failed=0
for name in "${CASES[@]}"; do
  started=$SECONDS
  if "$name"; then
    passed=$((passed + 1))
    echo "PASS $name ($((SECONDS - started)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($((SECONDS - started)) s)"
  fi
done
echo "apt: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
