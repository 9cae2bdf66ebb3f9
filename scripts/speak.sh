#!/usr/bin/env bash
# Speaks a script with the bundled voice, building what is needed first.
#
#   bash scripts/speak.sh ["script"] [vokari-say options...]
#
# Installs the native build tools and the playback library (libportaudio2)
# when they are missing (Debian/Ubuntu, apt-get), configures and builds the module library and vokari-say once in
# build/native (Release), then has vokari-say speak the script (a greeting by
# default), print the reply script and save the speech as ./vokari-say.wav.
# Later runs only rebuild what changed.  Options after the script go to
# vokari-say, for example --pace, --no-play or --svg picture.svg.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/native"
wav="$PWD/vokari-say.wav"
default_script='\0こんにちは、ぼかりです。\1よろしくね。'

if [[ $# -gt 0 && $1 != -* ]]; then
  script="$1"
  shift
else
  script="$default_script"
fi

say() { printf 'speak.sh: %s\n' "$*" >&2; }

# vokari-say opens the playback library itself when it plays; without it the
# speech is only saved.
has_playback_library() {
  { ldconfig -p 2>/dev/null || /sbin/ldconfig -p 2>/dev/null; } | grep -q 'libportaudio\.so\.2 ' && return 0
  dpkg-query -W -f='${Status}' libportaudio2 2>/dev/null | grep -q 'ok installed'
}

install_missing_tools() {
  local missing=() tools=()
  command -v cmake >/dev/null || tools+=(cmake)
  command -v g++ >/dev/null || tools+=(g++)
  command -v make >/dev/null || tools+=(make)
  # The reading step: its dictionary compiler and the script that prunes it.
  [[ -x /usr/lib/mecab/mecab-dict-index ]] || tools+=(mecab-utils)
  command -v python3 >/dev/null || tools+=(python3)
  missing=("${tools[@]}")
  has_playback_library || missing+=(libportaudio2)
  [[ ${#missing[@]} -eq 0 ]] && return 0
  # Without the build tools nothing can be done; without the playback library
  # the speech is still saved.
  cannot_install() {
    if [[ ${#tools[@]} -gt 0 ]]; then
      say "missing packages: ${missing[*]}; $1"
      exit 1
    fi
    say "the playback library libportaudio2 is missing, so the speech is saved but not played; $1"
  }
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      cannot_install "install them (as root: apt-get install ${missing[*]}) and run again"
      return 0
    fi
    sudo=(sudo)
  fi
  if ! command -v apt-get >/dev/null; then
    cannot_install "this system has no apt-get, so install them yourself"
    return 0
  fi
  say "installing ${missing[*]} ..."
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build_native() {
  mkdir -p "$build"
  local log="$build/speak-build.log"
  if [[ ! -f $build/CMakeCache.txt ]]; then
    # The test suite needs GoogleTest; without it configure the product only.
    local tests=ON
    [[ -f /usr/include/gtest/gtest.h ]] || tests=OFF
    say "configuring build/native (Release) ..."
    if ! cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS="$tests" >"$log" 2>&1; then
      cat "$log" >&2
      say "configuring failed (log: $log)"
      exit 1
    fi
  fi
  [[ -x $build/vokari-say ]] || say "building the module and vokari-say (the first build takes a minute) ..."
  if ! cmake --build "$build" -j2 --target vokari vokari-say >"$log" 2>&1; then
    cat "$log" >&2
    say "the build failed (log: $log)"
    exit 1
  fi
}

install_missing_tools
build_native

# vokari-say exits 3 when the module replied but the speech was not (fully)
# heard, for example without a sound device; its note says why.  The speech is
# saved all the same, which is what this script promises.
status=0
rm -f "$wav"
"$build/vokari-say" --output "$wav" "$@" -- "$script" || status=$?
if [[ $status -eq 0 || ($status -eq 3 && -s $wav) ]]; then
  echo "WAV: $wav"
  exit 0
fi
exit "$status"
