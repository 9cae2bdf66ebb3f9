#!/usr/bin/env bash
# Installs every package that building and testing the project needs on a
# Debian machine: the native tool chain and libraries, mingw-w64 for the
# 32-bit Windows DLL, wine (32-bit) to run it, the voice-building tools, MeCab
# with its dictionary for the reading dictionaries, emscripten for the browser
# workbench and Chromium to test it; the Japanese manual pages, kanjidic and
# the Japanese Debian reference, from which the general reading dictionary is
# built and against which its accuracy is measured.  Node.js and npm come from Debian only when
# the machine has no node of its own (Debian's npm conflicts with other nodes).
# Returns at once when everything is installed already.  Run as root (or with
# sudo available).
#
#   bash scripts/install-deps.sh
set -euo pipefail

packages=(
  cmake g++ make pkg-config libgtest-dev libbenchmark-dev
  mingw-w64 wine wine32:i386
  portaudio19-dev libsndfile1-dev libsamplerate0-dev
  espeak-ng libespeak-ng-dev sox
  clang libclang-rt-14-dev
  zip unzip python3 dpkg-dev
  mecab libmecab-dev mecab-ipadic-utf8
  emscripten chromium fonts-ipafont-gothic
)
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
# The texts the general reading dictionary is built from and measured on.
packages+=(manpages-ja edict kanjidic debian-reference-ja)

say() { printf 'install-deps: %s\n' "$*" >&2; }

installed() {
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

# Debian's source packages, for the libraries the Windows tools link
# (scripts/build-win32-libs.sh): a file of its own, added only when no
# deb-src line for the main area is configured yet.
add_source_lines() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  say "adding Debian's source packages (deb-src) in /etc/apt/sources.list.d/vokari-deb-src.sources"
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' 'Components: main' \
    'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
    "${sudo[@]}" tee /etc/apt/sources.list.d/vokari-deb-src.sources >/dev/null
  sources_added=1
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { say "run as root to install packages or source lines"; exit 1; }
  sudo=(sudo)
fi
sources_added=0
if [[ ${#missing[@]} -eq 0 ]]; then
  # The Windows tools' libraries need the source lines even when every
  # package is present.
  add_source_lines
  if [[ $sources_added -eq 1 ]]; then
    "${sudo[@]}" apt-get update -q
  fi
  say "all packages present"
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture (for wine32)"
  "${sudo[@]}" dpkg --add-architecture i386
fi
say "installing ${missing[*]}"
add_source_lines
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
