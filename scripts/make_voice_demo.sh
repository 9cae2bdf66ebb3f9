#!/usr/bin/env bash
# Renders a two-speaker sentence with the bundled voice through the module
# (the module itself writes the file, asked by the script's "wavouts[" tag)
# and draws its spectrogram: docs/voice-demo.wav and docs/voice-demo.png.
# Needs cmake, a C++ compiler and sox.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-voice-demo}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target vokari vokari-say >/dev/null

# A scratch copy of the voice, so that the written file lands outside the repo.
module="$(mktemp -d)"
trap 'rm -rf "$module"' EXIT
cp -r "$root/voices/default/." "$module/"
script='\0こんにちは、わたしはさくらです。\1ぼくはうにゅうだよ。@wavouts[demo.wav]'
"$build/vokari-say" --module-dir "$module" --no-play -- "$script"

cp "$module/demo.wav" "$root/docs/voice-demo.wav"
sox "$root/docs/voice-demo.wav" -n spectrogram -x 1000 -y 257 -z 80 \
  -t "vokari default voice: speaker 0 (higher), then speaker 1 (lower)" -o "$root/docs/voice-demo.png"
