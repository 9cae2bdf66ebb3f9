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
  clang libclang-rt-14-dev clang-format
  zip unzip python3
  mecab libmecab-dev mecab-ipadic-utf8 mecab-utils dpkg-dev
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

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
sudo=()
if [[ $(id -u) -ne 0 ]] && command -v sudo >/dev/null; then
  sudo=(sudo)
fi
# The reading step's analyser and prosody engine and the Windows tools'
# libraries are built from Debian's source packages (open-jtalk, htsengine,
# libsndfile, libsamplerate), which apt-get source fetches with a deb-src line.
bash "$(dirname "${BASH_SOURCE[0]}")/add-deb-src.sh"
if [[ ${#missing[@]} -eq 0 ]]; then
  say "all packages present"
  exit 0
fi
if [[ $(id -u) -ne 0 && ${#sudo[@]} -eq 0 ]]; then
  say "run as root to install: ${missing[*]}"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture (for wine32)"
  "${sudo[@]}" dpkg --add-architecture i386
fi
say "installing ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
