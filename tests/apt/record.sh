#!/usr/bin/env bash
# Records the apt state the apt tests replay: from this machine's package lists,
# the stanzas of the packages named below for amd64 and i386 in each suite, and
# this machine's dpkg status entries of their amd64 builds (the installed side of
# a machine that has not installed any i386 package yet). Long fields that apt
# does not resolve with (descriptions, tags, hashes) are left out.
#   tests/apt/record.sh [PACKAGE...]    (after apt-get update; writes tests/apt/state/)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/state
packages=("$@")
[ ${#packages[@]} -gt 0 ] || packages=(libc6 libgcc-s1 gcc-12-base libssl3 zlib1g libpcre2-8-0)
keep='^(Package|Source|Version|Architecture|Multi-Arch|Priority|Section|Essential|Protected|Pre-Depends|Depends|Breaks|Conflicts|Replaces|Provides|Installed-Size|Filename|Size|Status):'

# Stanzas of the wanted packages, in the order given, with the kept fields only.
pick() {
  awk -v names=" ${packages[*]} " -v keep="$keep" '
    BEGIN { RS = ""; FS = "\n" }
    { name = $1; sub(/^Package: /, "", name)
      if (index(names, " " name " ") == 0) next
      text = ""
      for (i = 1; i <= NF; i++) if ($i ~ keep) text = text $i "\n"
      print text }'
}

rm -rf "$out"
for list in /var/lib/apt/lists/*_dists_*_main_binary-*_Packages*; do
  name=$(basename "$list")
  suite=$(echo "$name" | sed 's/.*_dists_\(.*\)_main_binary-.*/\1/')
  arch=$(echo "$name" | sed 's/.*_binary-\([^_]*\)_Packages.*/\1/')
  [ "$arch" = amd64 ] || [ "$arch" = i386 ] || continue
  mkdir -p "$out/$suite"
  /usr/lib/apt/apt-helper cat-file "$list" | pick >"$out/$suite/$arch.Packages"
done
dpkg-query -s "${packages[@]/%/:amd64}" | pick >"$out/status"
echo "recorded into $out:"
find "$out" -type f | sort
