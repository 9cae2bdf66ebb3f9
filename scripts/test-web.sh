#!/usr/bin/env bash
# Builds the browser workbench with emscripten (build/web/site) and tests it in
# headless chromium: the page's WAVs against the golden speech cases, the
# settings, damaged voices, a 1 MB script, a CV bank imported from its
# oto.ini files, and a voice recorded through chromium's fake microphone.  Screenshots of each screen land in
# build/web/screenshots.
#
#   bash scripts/test-web.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/web"

# emcc runs on node; when node is not Debian's own it finds Debian's node
# modules only through NODE_PATH.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

(cd "$root/web" && npm ci --no-audit --no-fund)
emcmake cmake -S "$root/web" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2

# The tests' fixture voice, written natively, so that the golden cases run on
# the voice they were recorded with.
mkdir -p "$root/build/web-native"
c++ -std=c++17 -O1 -I "$root/tests" "$root/web/tests/write_fixture_voice.cpp" \
  "$root/tests/support/fixture_voice.cpp" -o "$root/build/web-native/write_fixture_voice"

# With the native build's vokari-voicebank, a CV bank imported in the page is
# also compared with the command's import.
native_voicebank="$root/build/native/tools/voicebank/vokari-voicebank"
if [ -z "${VOKARI_VOICEBANK:-}" ] && [ -x "$native_voicebank" ]; then export VOKARI_VOICEBANK="$native_voicebank"; fi

# The native vokari-say makes the reference for reading in context.
native_say="$root/build/native/vokari-say"
if [ -z "${VOKARI_SAY:-}" ] && [ -x "$native_say" ]; then export VOKARI_SAY="$native_say"; fi

node "$root/web/tests/browser_test.mjs" "$build/site" "$root/build/web-native/write_fixture_voice" \
  "$build/screenshots"
