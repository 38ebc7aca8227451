# shellcheck shell=bash
# zirvo-check.exe under Wine against the Linux zirvo-check of the native build
# (NATIVE, run.sh's second argument), on the broken scenes of the tools' tests
# (tests/tools/BrokenScenes.cpp, written out by write_broken_scenes): the same
# exit status and the same "file:line: severity:" notes, with the files' lines
# ending in LF and in CR LF. Sourced by run.sh after lib.sh.

CHECK_EXE="$BUILD/zirvo-check.exe"

# The notes' places in a report: "scene.zrv:2: warning:", "scene.zrv: error:".
note_places() {
  tr -d '\r' | sed -n 's/^\([^ ]*\): \(error\|warning\|note\):.*/\1: \2:/p'
}

case_check_same_verdicts_as_linux() {
  if [ -z "$NATIVE" ]; then
    echo "SKIPPED: no native build given to compare with (run.sh BUILD NATIVE_BUILD)" >&2
    return "$SKIPPED"
  fi
  local native_check="$NATIVE/tools/zirvo-check" writer="$NATIVE/tools/tests/write_broken_scenes"
  if [ ! -x "$native_check" ] || [ ! -x "$writer" ]; then
    echo "the native build has no $native_check or $writer" >&2
    return 1
  fi
  local check_win ends dir linux_status windows_status linux_places windows_places compared=0
  check_win=$(winepath -w "$CHECK_EXE")
  "$writer" "$WORK/broken-lf" && "$writer" --crlf "$WORK/broken-crlf" || return 1
  for ends in lf crlf; do
    for dir in "$WORK/broken-$ends"/*/; do
      local name expected_status expected_where
      { read -r expected_status; read -r expected_where; read -r name; } <"$dir/expected"
      # The Linux tool always reads the LF files, as they are on Linux.
      (cd "$WORK/broken-lf/$(basename "$dir")" && "$native_check" --settings settings.ini scene.zrv) \
        >"$dir/linux.out" 2>&1
      linux_status=$?
      (cd "$dir" && wine "$check_win" --settings settings.ini scene.zrv) >"$dir/windows.out" \
        2>"$dir/windows.err"
      windows_status=$?
      linux_places=$(note_places <"$dir/linux.out")
      windows_places=$(note_places <"$dir/windows.out")
      if [ "$windows_status" -ne "$linux_status" ] || [ "$windows_status" -ne "$expected_status" ]; then
        echo "$name ($ends): exit status $windows_status on Windows, $linux_status on Linux," \
          "$expected_status expected" >&2
        return 1
      fi
      if [ "$windows_places" != "$linux_places" ]; then
        echo "$name ($ends): the notes differ" >&2
        diff <(echo "$linux_places") <(echo "$windows_places") >&2
        return 1
      fi
      grep -qF "$expected_where" <<<"$windows_places" ||
        { echo "$name ($ends): no $expected_where in: $windows_places" >&2; return 1; }
      compared=$((compared + 1))
    done
  done
  log "$compared reports of zirvo-check.exe matched the Linux tool's"
}

CHECK_CASES=(case_check_same_verdicts_as_linux)
