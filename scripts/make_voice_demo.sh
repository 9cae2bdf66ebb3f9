#!/usr/bin/env bash
# Renders a two-speaker sentence with the bundled voice through the module
# (vokari-say saves what the module renders) and draws its spectrogram:
# docs/voice-demo.wav and docs/voice-demo.png; then small spectrograms of six
# words whose first kana opens with a consonant, docs/voice-words/*-after.png
# (the *-before.png beside them show the voice recorded at 0.6 of its speed).
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

words=$(mktemp -d)
trap 'rm -rf "$words"' EXIT
set -- konnichiwa こんにちは kono この koohii コーヒー tsukue つくえ chuui ちゅうい gyuunyuu ぎゅうにゅう
while [ $# -gt 0 ]; do
  "$build/vokari-say" --module-dir "$root/voices/default" --no-play --no-wait --output "$words/$1.wav" -- "\\0$2" >/dev/null
  sox "$words/$1.wav" -n spectrogram -x 240 -y 129 -z 70 -t "$1 (speaker 0)" -o "$root/docs/voice-words/$1-after.png"
  shift 2
done
