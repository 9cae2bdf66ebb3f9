#!/usr/bin/env bash
# speak.sh on a machine that has the build tools but not the playback
# library: it must ask apt-get for libportaudio2 before building.  Runs a copy
# of speak.sh with stand-ins for apt-get, ldconfig, dpkg-query, id and cmake
# (which stops the run right after the install step).
#
#   speak_installs_playback.sh SOURCE_ROOT
set -euo pipefail
root="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/copy/scripts" "$work/bin"
cp "$root/scripts/speak.sh" "$work/copy/scripts/"
stand_in() { printf '#!/bin/sh\n%s\n' "$2" >"$work/bin/$1"; chmod +x "$work/bin/$1"; }
stand_in apt-get "echo \"\$*\" >>'$work/apt.log'"
stand_in ldconfig 'exit 0'
stand_in dpkg-query 'exit 1'
stand_in id 'echo 0'
stand_in cmake 'exit 1'
for tool in g++ make; do command -v "$tool" >/dev/null || stand_in "$tool" 'exit 0'; done
(cd "$work" && PATH="$work/bin:$PATH" bash "$work/copy/scripts/speak.sh" 'あ' >/dev/null 2>&1) || true
if ! grep -q '^install .*libportaudio2' "$work/apt.log" 2>/dev/null; then
  echo "speak.sh did not install libportaudio2; apt-get was asked: $(cat "$work/apt.log" 2>/dev/null)" >&2
  exit 1
fi
echo "speak.sh installs libportaudio2: $(grep '^install' "$work/apt.log")"
