#!/bin/sh
# Builds vokari-voice-measures and measures how natural the bundled voices
# are (docs/voice.md): even syllables always; joins and closeness to Open
# JTalk when open_jtalk and its HTS voice (Debian's contrib area) are there,
# else they are skipped with a message.  Extra arguments: voice folders.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-voice-tools}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target vokari-voice-measures >/dev/null
exec "$build/bench/vokari-voice-measures" "$@"
