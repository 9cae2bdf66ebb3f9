#!/usr/bin/env bash
# Fetches Debian's open-jtalk source package (its MeCab copy, the text
# analysis libraries and the NAIST-jdic sources) into DIR and unpacks it to
# DIR/open_jtalk.  The orig tarball's sha256 is checked against the .dsc that
# apt-get fetched with it, so a damaged or swapped download never reaches the
# build.  Returns at once when DIR/open_jtalk is complete already.  Adds a
# deb-src line first when there is none (scripts/add-deb-src.sh).
#
#   bash scripts/fetch-frontend-source.sh DIR
set -euo pipefail

dir="${1:?usage: fetch-frontend-source.sh DIR}"
say() { printf 'fetch-frontend-source: %s\n' "$*" >&2; }

mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"
if [[ -f "$dir/open_jtalk/.complete" ]]; then
  exit 0
fi

download="$dir/download"
mkdir -p "$download"
if ! ls "$download"/open-jtalk_*.dsc >/dev/null 2>&1; then
  bash "$(dirname "${BASH_SOURCE[0]}")/add-deb-src.sh" || exit 1
  say "apt-get source --download-only open-jtalk"
  (cd "$download" && apt-get source --download-only -q open-jtalk >&2) || {
    say "cannot fetch the open-jtalk source package (is the deb-src line from scripts/install-deps.sh in place?)"
    exit 1
  }
fi

dsc="$(ls "$download"/open-jtalk_*.dsc | head -n 1)"
orig_name="$(awk '/^Checksums-Sha256:/ {in_sums = 1; next} /^[^ ]/ {in_sums = 0}
                  in_sums && $3 ~ /\.orig\.tar\./ {print $3}' "$dsc")"
expected="$(awk -v name="$orig_name" '/^Checksums-Sha256:/ {in_sums = 1; next} /^[^ ]/ {in_sums = 0}
                  in_sums && $3 == name {print $1}' "$dsc")"
[[ -n "$orig_name" && -n "$expected" ]] || { say "no sha256 of the orig tarball in $dsc"; exit 1; }
actual="$(sha256sum "$download/$orig_name" | cut -d' ' -f1)"
if [[ "$actual" != "$expected" ]]; then
  say "sha256 of $orig_name is $actual, the .dsc says $expected: removing the download"
  rm -f "$download"/open-jtalk_*
  exit 1
fi

rm -rf "$dir/open_jtalk" "$dir/unpack"
mkdir -p "$dir/unpack"
tar -xzf "$download/$orig_name" -C "$dir/unpack"
top="$(ls "$dir/unpack" | head -n 1)"
cp -a "$dir/unpack/$top" "$dir/open_jtalk"
rm -rf "$dir/unpack"
touch "$dir/open_jtalk/.complete"
say "unpacked $orig_name into $dir/open_jtalk"
