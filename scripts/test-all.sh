#!/usr/bin/env bash
# Builds and tests everything: installs the packages, builds the native module
# and its tests in build/native and runs them with ctest, cross-builds the
# 32-bit Windows DLL in build/win32 and runs its checks under wine, then runs
# the sanitized suite, a short fuzzing run and the browser workbench in
# headless chromium.  Every part always runs and the script fails when any
# does; each part's time is listed at the end.
#
#   bash scripts/test-all.sh
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
failed=()

say() { printf '\ntest-all: %s\n' "$*"; }

# Each stage's wall-clock time, listed at the end so a slow stage shows.
stage_times=()
timed() {
  local name="$1" start=$SECONDS status=0
  shift
  "$@" || status=$?
  stage_times+=("$(printf '%-10s %4d:%02d' "$name" $(((SECONDS - start) / 60)) $(((SECONDS - start) % 60)))")
  return "$status"
}
report_times() {
  say "stage times (min:s)"
  printf '  %s\n' "${stage_times[@]}"
  printf '  %-10s %4d:%02d\n' total $((SECONDS / 60)) $((SECONDS % 60))
}

timed packages bash "$root/scripts/install-deps.sh" || { say "installing the packages failed"; exit 1; }

native() {
  local build="$root/build/native"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=ON &&
    cmake --build "$build" -j2 &&
    ctest --test-dir "$build" --output-on-failure -j2
}

win32() {
  local build="$root/build/win32"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" &&
    cmake --build "$build" -j2 || return 1
  bash "$root/cmake/run-wine.sh" --prepare || return 1
  ctest --test-dir "$build" --output-on-failure
}

say "native build and tests (build/native)"
timed native native || failed+=(native)

# The native part must run first: its voicebank tests import a CV bank and
# leave the voice in build/imported-cv-voice, which the win32 part's
# imported_voice_speaks check loads through vokari.dll (skipped, not failed,
# when that voice is missing).
say "32-bit Windows DLL and its checks under wine (build/win32)"
timed win32 win32 || failed+=(win32)

say "the test suite under AddressSanitizer and UndefinedBehaviorSanitizer (build/asan)"
timed sanitized bash "$root/scripts/test-sanitized.sh" || failed+=(sanitized)

say "45 seconds of fuzzing per harness (build/fuzz)"
timed fuzz bash "$root/scripts/fuzz-smoke.sh" 45 || failed+=(fuzz)

say "the browser workbench: WebAssembly build and chromium tests (build/web)"
timed web bash "$root/scripts/test-web.sh" || failed+=(web)

report_times
if [[ ${#failed[@]} -ne 0 ]]; then
  say "FAILED: ${failed[*]}"
  exit 1
fi
say "all passed"
