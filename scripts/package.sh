#!/usr/bin/env bash
# Builds the release packages of vokari from this source tree:
#
#   build-package/vokari-<version>-win32.zip  vokari.dll, the bundled voice
#       with its general reading dictionary, a commented vokari.txt with every
#       key at its default, an example dictionary, START-HERE.txt, the guide
#       with its examples, voice.md, and the licences of the voice and the
#       reading dictionary.  Host text files are Shift_JIS with CR LF, the
#       documents UTF-8 with a byte-order mark and CR LF; and workbench/,
#       the browser workbench that opens from the folder by double-click
#       (workbench.html; built with emscripten in build-package/build-web);
#       and tools/, vokari-say.exe, vokari-voicebank.exe and
#       vokari-readings.exe, which the zip packs when they are built beside
#       the DLL;
#   build-package/vokari-<version>-linux-x86_64.tar.gz  libvokari.so and
#       vokari-say with the same voice, settings, dictionary, guide, licence.
#
# The version is the one in CMakeLists.txt (project(... VERSION ...)).  Both
# builds go into build-package/build-*, so the sources are left as they were;
# after packing, both archives are unpacked into temporary folders and checked: the
# DLL must speak with the packaged voice under wine, and the Windows tools do
# an author's tasks there; vokari-say with the packaged library.
#
#   bash scripts/package.sh [--out DIR] [--no-check]
#
# Used by the tests with a single job each:
#   package.sh --assemble-zip DLL OUT_DIR [SITE]  packs a zip around DLL (and
#                                                the workbench of a built web SITE)
#   package.sh --assemble-tarball LIB SAY OUT_DIR
# (the archive's path is printed on stdout).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
say() { printf 'package.sh: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

# The version from project(VERSION) in CMakeLists.txt, the one place it is kept.
project_version() {
  local version
  version=$(sed -n 's/^project([[:space:]]*vokari[[:space:]][[:space:]]*VERSION[[:space:]][[:space:]]*\([0-9][0-9.]*\).*/\1/p' \
            "$root/CMakeLists.txt" | head -n 1)
  [[ -n $version ]] || die "no project(vokari VERSION ...) in CMakeLists.txt"
  printf '%s\n' "$version"
}

# A text file for the package: UTF-8 in the sources, Shift_JIS with CR LF
# line ends in the package (what the module and Windows editors expect).
put_text() {
  local from="$1" to="$2"
  mkdir -p "$(dirname "$to")"
  iconv -f UTF-8 -t CP932 "$from" | sed 's/\r*$/\r/' >"$to"
}

# The module folder's shared content: settings, dictionary, voice, licence,
# guide and examples.  $1: the folder to fill; $2: "flat" puts the examples
# folder beside the guide.
put_common() {
  local dir="$1"
  local voice="$root/voices/default"
  mkdir -p "$dir"
  put_text "$root/packaging/vokari.txt" "$dir/vokari.txt"
  put_text "$root/packaging/dictionary.txt" "$dir/dictionary.txt"
  for folder in vokariv0 vokariv1 vokaric0 vokaric1; do
    [[ -d $voice/$folder ]] || die "the bundled voice lacks $folder"
    cp -R "$voice/$folder" "$dir/$folder"
  done
  sed 's/\r*$/\r/' "$voice/LICENSE" >"$dir/VOICE-LICENSE.txt"
  # The reading dictionary is Shift_JIS with CR LF already: copied as it is.
  cp "$voice/reading.dic" "$dir/reading.dic"
  sed 's/\r*$/\r/' "$voice/READING-LICENSE" >"$dir/READING-LICENSE.txt"
  # The reading step's analyser dictionary, compiled by the native build
  # (target vokari_reading_dictionary), with its licence.
  if [[ -f $voice/naist-jdic/checksums ]]; then
    cp -R "$voice/naist-jdic" "$dir/naist-jdic"
    sed 's/\r*$/\r/' "$voice/naist-jdic/LICENSE" >"$dir/NAIST-JDIC-LICENSE.txt"
  else
    printf 'package: %s\n' "no analyser dictionary in $voice/naist-jdic: the package reads without it" >&2
  fi
}

# A document for the package: UTF-8 with a byte-order mark and CR LF line
# ends, which every Windows editor (Notepad included) shows correctly.
put_document() {
  local from="$1" to="$2"
  mkdir -p "$(dirname "$to")"
  { printf '\357\273\277'; sed 's/\r*$/\r/' "$from"; } >"$to"
}

# The documents: the guide and every page it points to
# (voice.md with its demo sound and picture), and the guide's examples.

# The espeak-ng voice, a second module folder to choose instead: $1 is the
# folder to fill.
put_espeak_voice() {
  local dir="$1" voice="$root/voices/espeak"
  mkdir -p "$dir"
  put_text "$voice/vokari.txt" "$dir/vokari.txt"
  for folder in vokariv0 vokariv1 vokaric0 vokaric1; do
    [[ -d $voice/$folder ]] || die "the espeak-ng voice lacks $folder"
    cp -R "$voice/$folder" "$dir/$folder"
  done
  sed 's/\r*$/\r/' "$voice/LICENSE" >"$dir/VOICE-LICENSE.txt"
}

put_guide() {
  local dir="$1"
  mkdir -p "$dir/examples"
  put_document "$root/docs/guide.md" "$dir/guide.md"
  put_document "$root/docs/voice.md" "$dir/voice.md"
  cp "$root/docs/voice-demo.png" "$root/docs/voice-demo.wav" "$dir/"
  (cd "$root/docs/examples" && find . -type f -print) | while read -r file; do
    put_text "$root/docs/examples/$file" "$dir/examples/$file"
  done
}

# Zip around DLL into OUT_DIR, with the workbench of the built web SITE
# when given; prints the zip's path.
assemble_zip() {
  local dll="$1" out="$2" site="${3:-}" version name stage
  [[ -f $dll ]] || die "no DLL at $dll"
  version=$(project_version)
  name="vokari-$version"
  mkdir -p "$out"
  out="$(cd "$out" && pwd)"
  stage=$(mktemp -d)
  mkdir -p "$stage/$name"
  cp "$dll" "$stage/$name/vokari.dll"
  put_common "$stage/$name"
  put_espeak_voice "$stage/$name/voices/espeak"
  put_guide "$stage/$name"
  put_document "$root/packaging/START-HERE.txt" "$stage/$name/START-HERE.txt"
  # The Windows tools built beside the DLL, when there.
  local build_dir
  build_dir="$(dirname "$dll")"
  if [[ -f $build_dir/vokari-say.exe && -f $build_dir/tools/voicebank/vokari-voicebank.exe ]]; then
    mkdir -p "$stage/$name/tools"
    cp "$build_dir/vokari-say.exe" "$build_dir/tools/voicebank/vokari-voicebank.exe" "$stage/$name/tools/"
    [[ -f $build_dir/vokari-readings.exe ]] && cp "$build_dir/vokari-readings.exe" "$stage/$name/tools/"
    i686-w64-mingw32-strip --strip-unneeded "$stage/$name/tools/"*.exe 2>/dev/null || true
  fi
  if [[ -n $site ]]; then
    node "$root/web/inline_workbench.mjs" "$site" "$stage/$name/workbench" || die "the workbench could not be made from $site"
  fi
  # Packed beside the old zip and renamed over it: a packer stopped half-way
  # leaves the old zip whole and at most a partial file to delete.
  local partial="$out/.$name-win32.zip.partial.$$"
  rm -f "$partial"
  (cd "$stage" && find "$name" -print | LC_ALL=C sort | zip -q -X -D "$partial" -@) ||
    { rm -rf "$stage" "$partial"; die "cannot write $partial (disk full or not writable?)"; }
  mv -f "$partial" "$out/$name-win32.zip" || { rm -f "$partial"; die "cannot replace $out/$name-win32.zip"; }
  rm -rf "$stage"
  printf '%s\n' "$out/$name-win32.zip"
}

# Tarball around LIB and SAY into OUT_DIR; prints the tarball's path.
assemble_tarball() {
  local lib="$1" sayer="$2" out="$3" version name stage
  [[ -f $lib ]] || die "no library at $lib"
  [[ -f $sayer ]] || die "no vokari-say at $sayer"
  version=$(project_version)
  name="vokari-$version-linux-x86_64"
  mkdir -p "$out"
  out="$(cd "$out" && pwd)"
  stage=$(mktemp -d)
  mkdir -p "$stage/$name"
  cp "$lib" "$stage/$name/libvokari.so"
  cp "$sayer" "$stage/$name/vokari-say"
  strip --strip-unneeded "$stage/$name/libvokari.so" "$stage/$name/vokari-say" 2>/dev/null || true
  put_common "$stage/$name/voices/default"
  put_espeak_voice "$stage/$name/voices/espeak"
  put_guide "$stage/$name"
  cp "$stage/$name/voices/default/VOICE-LICENSE.txt" "$stage/$name/VOICE-LICENSE.txt"
  local partial="$out/.$name.tar.gz.partial.$$"
  tar -C "$stage" --sort=name --owner=0 --group=0 --numeric-owner -czf "$partial" "$name" ||
    { rm -rf "$stage" "$partial"; die "cannot write $partial (disk full or not writable?)"; }
  mv -f "$partial" "$out/$name.tar.gz" || { rm -f "$partial"; die "cannot replace $out/$name.tar.gz"; }
  rm -rf "$stage"
  printf '%s\n' "$out/$name.tar.gz"
}

case "${1:-}" in
  --assemble-zip)
    [[ $# -eq 3 || $# -eq 4 ]] || die "usage: package.sh --assemble-zip DLL OUT_DIR [WEB_SITE_DIR]"
    assemble_zip "$2" "$3" "${4:-}"
    exit 0
    ;;
  --assemble-tarball)
    [[ $# -eq 4 ]] || die "usage: package.sh --assemble-tarball LIB VOKARI_SAY OUT_DIR"
    assemble_tarball "$2" "$3" "$4"
    exit 0
    ;;
esac

out="$root/build-package"
check=1
while [[ $# -gt 0 ]]; do
  case "$1" in
    --out) out="$2"; shift 2 ;;
    --no-check) check=0; shift ;;
    -h|--help) sed -n '2,29p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) die "unknown argument '$1' (try --help)" ;;
  esac
done
mkdir -p "$out"
out="$(cd "$out" && pwd)"
jobs="${JOBS:-2}"

for tool in cmake iconv zip unzip tar i686-w64-mingw32-g++; do
  command -v "$tool" >/dev/null || die "missing $tool"
done

say "version $(project_version)"
say "building the Linux library and vokari-say in $out/build-linux"
cmake -S "$root" -B "$out/build-linux" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >"$out/build-linux.log" 2>&1 ||
  { cat "$out/build-linux.log" >&2; die "configuring the Linux build failed"; }
cmake --build "$out/build-linux" -j "$jobs" --target vokari vokari-say >>"$out/build-linux.log" 2>&1 ||
  { tail -n 40 "$out/build-linux.log" >&2; die "the Linux build failed"; }

say "building vokari.dll in $out/build-win32"
cmake -S "$root" -B "$out/build-win32" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >"$out/build-win32.log" 2>&1 ||
  { cat "$out/build-win32.log" >&2; die "configuring the Windows build failed"; }
win_targets=(vokari vokari-say vokari-voicebank vokari-readings)
[[ $check -eq 1 ]] && win_targets+=(vokari_package_check)
cmake --build "$out/build-win32" -j "$jobs" --target "${win_targets[@]}" >>"$out/build-win32.log" 2>&1 ||
  { tail -n 40 "$out/build-win32.log" >&2; die "the Windows build failed"; }

say "building the workbench in $out/build-web"
command -v emcmake >/dev/null && command -v npm >/dev/null ||
  die "missing emscripten or npm for the workbench (scripts/install-deps.sh installs them)"
{ (cd "$root/web" && npm ci --no-audit --no-fund) &&
  NODE_PATH="${NODE_PATH:-/usr/share/nodejs}" emcmake cmake -S "$root/web" -B "$out/build-web" -DCMAKE_BUILD_TYPE=Release &&
  NODE_PATH="${NODE_PATH:-/usr/share/nodejs}" cmake --build "$out/build-web" -j "$jobs"; } >"$out/build-web.log" 2>&1 ||
  { tail -n 40 "$out/build-web.log" >&2; die "the workbench build failed"; }

zip_file=$(assemble_zip "$out/build-win32/vokari.dll" "$out" "$out/build-web/site")
tarball=$(assemble_tarball "$out/build-linux/libvokari.so" "$out/build-linux/vokari-say" "$out")
say "packed $zip_file"
say "packed $tarball"

if [[ $check -eq 1 ]]; then
  bash "$root/tests/package/check_zip.sh" "$zip_file" "$out/build-win32/tests/package/vokari_package_check.exe"
  bash "$root/tests/package/check_zip_tools.sh" "$zip_file"
  bash "$root/tests/package/check_tarball.sh" "$tarball"
fi
