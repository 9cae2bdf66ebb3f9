#!/usr/bin/env bash
# The release zip's Windows tools on a read-only folder and on a full disk,
# under wine: run by check_zip_tools.sh in a mount namespace of its own
# (unshare -m), where this script mounts a read-only copy of a folder and a
# tiny file system.  Wine runs as root here, so file modes alone would not
# stop it.  The wine server of the shared prefix lives outside this
# namespace and would open the files there, so the tools run with a prefix
# of their own that shares the shared one's C: drive.
#   unshare -m check_zip_tools_mounted.sh UNPACKED_ZIP_FOLDER
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/zip_tools_common.sh"
cd "$1"

shared="${WINEPREFIX:-$HOME/.wine}"
prefix=$(mktemp -d)
mkdir "$prefix/dosdevices"
cp -p "$shared"/*.reg "$prefix/"
# Without the shared prefix's update stamp, wine would rebuild the prefix.
if [[ -f $shared/.update-timestamp ]]; then cp -p "$shared/.update-timestamp" "$prefix/"; fi
ln -s "$shared/drive_c" "$prefix/drive_c"
ln -s ../drive_c "$prefix/dosdevices/c:"
ln -s / "$prefix/dosdevices/z:"
export WINEPREFIX="$prefix"
trap 'wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT
mount --make-rprivate / 2>/dev/null || true

# 読み取り専用: the zip's voice and an earlier WAV, read-only.
mkdir 読み取り専用 満杯 録音2
cp -R vokari.txt vokariv0 vokaric0 vokariv1 vokaric1 naist-jdic 読み取り専用/
printf 'keep' >読み取り専用/old.wav
mount --bind 読み取り専用 読み取り専用
mount -o remount,bind,ro 読み取り専用
# 満杯: 16 KB, holding what a failed write must leave whole, then filled up.
mount -t tmpfs -o size=16k tmpfs 満杯
printf '// old dictionary\r\n' >満杯/mine.dic
printf 'keep' >満杯/out.wav
mkdir 満杯/声 && printf 'keep\r\n' >満杯/声/vokari.txt
cat /dev/zero >満杯/filler 2>/dev/null || true
before_full=$(contents 満杯)
espeak-ng -v ja -w 録音2/a.wav "あ"
espeak-ng -v ja -w 録音2/ka.wav "か"

# Hear: a read-only output folder and a full disk, the old file kept.
tool vokari-say --no-play -o 読み取り専用/out.wav "こんにちは"
expect_refusal "a read-only output folder" "読み取り専用/out.wav"
tool vokari-say --no-play -o 満杯/out.wav "こんにちは、今日はいい天気ですね。"
expect_refusal "a full disk" "満杯/out.wav"

# See the kana: a read-only voice folder is all it needs.
tool vokari-say -m 読み取り専用 --reading "今日は"
[[ $status -eq 0 && $out == "きょ お わ" ]] || fail "vokari-say --reading from a read-only voice folder (status $status): $out"
# Hear with a read-only voice folder too.
tool vokari-say -m 読み取り専用 --no-play -o out.wav "あ"
[[ $status -eq 0 && -s out.wav ]] || fail "vokari-say with a read-only voice folder (status $status): $out"

# Build a voice and import a CV bank into a read-only folder and onto a
# full disk: refused, naming the folder, the earlier settings kept.
tool vokari-voicebank 録音2 読み取り専用
expect_refusal "a read-only module folder" "読み取り専用"
tool vokari-voicebank 録音2 満杯/声
expect_refusal "a module folder on a full disk" "満杯/声"
mkdir CV2 && cp 録音2/a.wav CV2/あ.wav && printf '\x82\xa0.wav=\x82\xa0,50,80,-300,60,20\r\n' >CV2/oto.ini
tool vokari-voicebank --oto CV2 読み取り専用
expect_refusal "a CV import into a read-only folder" "読み取り専用"
tool vokari-voicebank --oto CV2 満杯/声
expect_refusal "a CV import onto a full disk" "満杯/声"

# Build a reading dictionary into a read-only folder and onto a full disk.
bash "$here/make_character.sh" キャラ
tool vokari-readings -o 読み取り専用/mine.dic キャラ/ghost/master
expect_refusal "a read-only dictionary folder" "読み取り専用"
tool vokari-readings --force -o 満杯/mine.dic キャラ/ghost/master
expect_refusal "a full disk" "満杯/mine.dic"

# See the kana with the user's temporary folder on a full disk: vokari-say
# cannot make its private copy of the voice there, and says where.
temp=$(sed -n 's/^"TEMP"="[A-Za-z]:\\\\\(.*\)"$/\1/p' "$shared/user.reg" | head -n 1 | sed 's/\\\\/\//g')
[[ -n $temp && -d $shared/drive_c/$temp ]] || fail "no temporary folder in the wine prefix's settings"
mount -t tmpfs -o size=16k tmpfs "$shared/drive_c/$temp"
cat /dev/zero >"$shared/drive_c/$temp/filler" 2>/dev/null || true
tool vokari-say --reading "今日は"
expect_refusal "a full temporary folder" "${temp##*/}"
umount "$shared/drive_c/$temp"

[[ $(contents 満杯) == "$before_full" ]] || fail "a write onto the full disk lost or left files: $(ls -R 満杯)"
[[ $(cat 読み取り専用/old.wav) == keep ]] || fail "the read-only folder changed"
echo "check_zip_tools_mounted: OK"
