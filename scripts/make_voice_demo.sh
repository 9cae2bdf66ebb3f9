#!/usr/bin/env bash
# Renders a two-speaker sentence with the bundled voice through the module
# (vokari-say saves what the module renders) and draws its spectrogram:
# docs/voice-demo.wav and docs/voice-demo.png.
# Needs cmake, a C++ compiler and sox.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-voice-demo}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target vokari vokari-say >/dev/null

script='\0こんにちは、わたしはさくらです。\1ぼくはうにゅうだよ。'
"$build/vokari-say" --module-dir "$root/voices/default" --no-play --output "$root/docs/voice-demo.wav" -- "$script"

sox "$root/docs/voice-demo.wav" -n spectrogram -x 1000 -y 257 -z 80 \
  -t "vokari default voice: speaker 0 (higher), then speaker 1 (lower)" -o "$root/docs/voice-demo.png"
