#!/bin/sh
# Regenerates the espeak-ng voice in voices/espeak from scratch: records the
# 107 syllables of both speakers with espeak-ng's Japanese voice and builds
# each speaker's sample directories from them.  Needs libespeak-ng-dev,
# libsndfile1-dev and libsamplerate0-dev.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-voice-tools}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target vokari-voicebank vokari-espeak-record
recordings=$(mktemp -d)
trap 'rm -rf "$recordings"' EXIT
for speaker in 0 1; do
  "$build/tools/voicebank/vokari-espeak-record" --speaker "$speaker" "$recordings/speaker$speaker"
  # Status 3: written, with estimates reported as missing; anything else fails.
  status=0
  "$build/tools/voicebank/vokari-voicebank" --speaker "$speaker" "$recordings/speaker$speaker" \
    "$root/voices/espeak" || status=$?
  if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then exit "$status"; fi
done
