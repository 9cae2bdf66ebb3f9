#!/usr/bin/env bash
# Adds a deb-src line for Debian's main area in its own file,
# /etc/apt/sources.list.d/vokari-deb-src.sources, and updates the package
# lists, unless some deb-src line is there already.  The reading step's
# analyser is built from the open-jtalk source package, which apt-get source
# only fetches with one.  Exits 0 when nothing was needed or the line was
# added; needs root (or sudo) to add it.
#
#   bash scripts/add-deb-src.sh
set -euo pipefail

say() { printf 'add-deb-src: %s\n' "$*" >&2; }

if grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  exit 0
fi
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { say "run as root to add a deb-src line for the open-jtalk source package"; exit 1; }
  sudo=(sudo)
fi
list=/etc/apt/sources.list.d/vokari-deb-src.sources
codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
say "adding a deb-src line in $list"
printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
  "$codename" | "${sudo[@]}" tee "$list" >/dev/null
"${sudo[@]}" apt-get update -q
