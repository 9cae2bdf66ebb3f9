#!/usr/bin/env bash
# Fetches the Debian source packages that the reading step is compiled from
# into DIR: open-jtalk (its MeCab copy, the text analysis and label libraries
# and the NAIST-jdic sources) unpacked to DIR/open_jtalk, and htsengine (the
# engine that evaluates the trained voice's duration and pitch models)
# unpacked to DIR/hts_engine.  Each orig tarball's sha256 is checked against
# the .dsc that apt-get fetched with it, so a damaged or swapped download never
# reaches the build.  A package whose folder is complete already is skipped.
# Adds a deb-src line first when there is none (scripts/add-deb-src.sh).
#
#   bash scripts/fetch-frontend-source.sh DIR
set -euo pipefail

dir="${1:?usage: fetch-frontend-source.sh DIR}"
say() { printf 'fetch-frontend-source: %s\n' "$*" >&2; }

mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"
download="$dir/download"

# fetch PACKAGE FOLDER: the source package PACKAGE unpacked to DIR/FOLDER.
fetch() {
  local package="$1" folder="$2"
  [[ -f "$dir/$folder/.complete" ]] && return 0
  mkdir -p "$download"
  if ! ls "$download/${package}"_*.dsc >/dev/null 2>&1; then
    bash "$(dirname "${BASH_SOURCE[0]}")/add-deb-src.sh" || return 1
    say "apt-get source --download-only $package"
    (cd "$download" && apt-get source --download-only -q "$package" >&2) || {
      say "cannot fetch the $package source package (is the deb-src line from scripts/install-deps.sh in place?)"
      return 1
    }
  fi

  local dsc orig_name expected actual top
  dsc="$(ls "$download/${package}"_*.dsc | head -n 1)"
  orig_name="$(awk '/^Checksums-Sha256:/ {in_sums = 1; next} /^[^ ]/ {in_sums = 0}
                    in_sums && $3 ~ /\.orig\.tar\./ {print $3}' "$dsc")"
  expected="$(awk -v name="$orig_name" '/^Checksums-Sha256:/ {in_sums = 1; next} /^[^ ]/ {in_sums = 0}
                    in_sums && $3 == name {print $1}' "$dsc")"
  [[ -n "$orig_name" && -n "$expected" ]] || { say "no sha256 of the orig tarball in $dsc"; return 1; }
  actual="$(sha256sum "$download/$orig_name" | cut -d' ' -f1)"
  if [[ "$actual" != "$expected" ]]; then
    say "sha256 of $orig_name is $actual, the .dsc says $expected: removing the download"
    rm -f "$download/${package}"_*
    return 1
  fi

  rm -rf "$dir/$folder" "$dir/unpack"
  mkdir -p "$dir/unpack"
  tar -xzf "$download/$orig_name" -C "$dir/unpack"
  top="$(ls "$dir/unpack" | head -n 1)"
  cp -a "$dir/unpack/$top" "$dir/$folder"
  rm -rf "$dir/unpack"
  touch "$dir/$folder/.complete"
  say "unpacked $orig_name into $dir/$folder"
}

fetch open-jtalk open_jtalk
fetch htsengine hts_engine
