#!/usr/bin/env bash
# Builds the audio libraries the Windows tools link statically (libsndfile
# without external codecs, libsamplerate) from Debian's source packages with
# mingw-w64 i686, into PREFIX (lib/, include/, lib/pkgconfig/).  Debian ships
# no mingw build of them; the deb-src line comes from scripts/install-deps.sh.
# Does nothing when PREFIX already holds both.
#
#   bash scripts/build-win32-libs.sh PREFIX
set -euo pipefail

say() { printf 'build-win32-libs: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

[[ $# -eq 1 ]] || die "usage: build-win32-libs.sh PREFIX"
mkdir -p "$1"
prefix="$(cd "$1" && pwd)"
if [[ -f $prefix/lib/libsndfile.a && -f $prefix/lib/libsamplerate.a ]]; then
  exit 0
fi
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
for tool in i686-w64-mingw32-gcc dpkg-source cmake; do
  command -v "$tool" >/dev/null || die "missing $tool (scripts/install-deps.sh installs it)"
done

work="$prefix/source"
mkdir -p "$work"
cross=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
       -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF
       -DCMAKE_FIND_ROOT_PATH="$prefix;/usr/i686-w64-mingw32")

# Unpacks Debian's source package $1 (its patches applied) into $work/$1.
unpack() {
  local package="$1"
  [[ -d $work/$package ]] && return 0
  (cd "$work" && rm -f "${package}"_*.dsc &&
   apt-get source --download-only "$package" >"$work/$package-fetch.log" 2>&1 &&
   dpkg-source -x "${package}"_*.dsc "$package" >>"$work/$package-fetch.log" 2>&1) ||
    { cat "$work/$package-fetch.log" >&2; die "could not fetch Debian's source of $package (is there a deb-src line?)"; }
}

# Configures, builds and installs the unpacked $1 with the extra cmake flags.
build() {
  local package="$1"; shift
  say "building $package for Windows"
  { cmake -S "$work/$package" -B "$work/build-$package" "${cross[@]}" "$@" &&
    cmake --build "$work/build-$package" -j "${JOBS:-2}" &&
    cmake --install "$work/build-$package"; } >"$work/$package-build.log" 2>&1 ||
    { tail -n 40 "$work/$package-build.log" >&2; die "building $package for Windows failed"; }
}

unpack libsndfile
build libsndfile -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
  -DENABLE_CPACK=OFF -DENABLE_PACKAGE_CONFIG=ON -DINSTALL_MANPAGES=OFF -DBUILD_REGTEST=OFF
unpack libsamplerate
build libsamplerate -DLIBSAMPLERATE_EXAMPLES=OFF -DLIBSAMPLERATE_INSTALL=ON -DCMAKE_DISABLE_FIND_PACKAGE_FFTW=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_SndFile=ON -DCMAKE_DISABLE_FIND_PACKAGE_ALSA=ON
