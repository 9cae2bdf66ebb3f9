#!/usr/bin/env bash
# Builds the general reading dictionary of the bundled voice,
# voices/default/reading.dic, from Japanese text in Debian packages:
#
#   manpages-ja          the Japanese manual pages: the text the readings are
#                        learnt from (real Japanese, written by its translators)
#   edict                the common words, for what the manual pages lack
#                        (everyday words, verbs and adjectives in their forms)
#   kanjidic             one last-resort reading for every JIS X 0208 kanji
#   mecab-ipadic-utf8    MeCab's dictionary, which reads the text in context
#
# The Japanese Debian reference (debian-reference-ja) is kept out on purpose:
# the accuracy test measures the dictionary on it.  The same packages give
# the same file, byte for byte: inputs are read in name order and nothing of
# the time or the machine is written.
#
#   bash scripts/make_reading_dictionary.sh [--out FILE]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/voices/default/reading.dic"
[[ ${1:-} == --out ]] && out="$2"
build="${BUILD_DIR:-$root/build/native}"
say() { printf 'make_reading_dictionary: %s\n' "$*" >&2; }

for package in manpages-ja edict kanjidic mecab-ipadic-utf8; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    { say "the Debian package $package is missing: bash scripts/install-deps.sh"; exit 1; }
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target vokari-readings >/dev/null

# The manual pages as plain text: roff requests and escapes removed.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
export LC_ALL=C
count=0
while IFS= read -r page; do
  name=$(printf '%s' "${page#/usr/share/man/ja/}" | tr '/' '_')
  zcat -f "$page" | { grep -v "^[.']" || true; } |
    sed -e 's/\\f[BIRP]//g' -e 's/\\f(..//g' -e 's/\\(..//g' -e 's/\\[-&e|^]//g' >"$corpus/${name%.gz}.txt"
  count=$((count + 1))
done < <(find /usr/share/man/ja -type f -name '*.gz' | sort)
say "$count manual pages as text"

version() { dpkg-query -W -f='${Version}' "$1"; }
"$build/vokari-readings" --general --force -o "$out" \
  --common-words /usr/share/edict/edict --kanjidic /usr/share/edict/kanjidic \
  --source "the Japanese manual pages, Debian package manpages-ja $(version manpages-ja) ($count pages)" \
  --source "common words: Debian package edict $(version edict)" \
  --source "single kanji: Debian package kanjidic $(version kanjidic)" \
  --source "readings in context: Debian package mecab-ipadic-utf8 $(version mecab-ipadic-utf8)" \
  "$corpus"
