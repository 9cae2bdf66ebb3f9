#!/usr/bin/env bash
# Takes the Windows tools in the release zip the way an author does: unpacks
# the zip into a temporary folder and, under wine, hears and paces a script
# with a voice folder, builds a voice from recordings and imports a CV bank,
# with Japanese folder and file names; then each one's bad input, which must
# be a plain message naming the file or folder, with nothing lost.
#   check_zip_tools.sh ZIP
set -euo pipefail
zip_file="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
run="$here/../../cmake/run-wine.sh"
fail() { printf 'check_zip_tools: FAIL: %s\n' "$*" >&2; exit 1; }
command -v espeak-ng >/dev/null || fail "espeak-ng is needed to make the recordings"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_file" -d "$work"
folder=$(echo "$work"/vokari-*)
[[ -f $folder/tools/vokari-say.exe && -f $folder/tools/vokari-voicebank.exe ]] || fail "the zip lacks tools/vokari-say.exe or tools/vokari-voicebank.exe"
cd "$folder"
# They stand alone: no DLL but the system's (no C++ runtime, no audio library).
for program in tools/*.exe; do
  for dll in $(i686-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    [[ ${dll^^} =~ ^(KERNEL32|MSVCRT|WINMM|USER32|ADVAPI32|SHELL32|OLE32)\.DLL$ ]] || fail "$program needs $dll, which Windows does not have"
  done
done

# Runs a tool under wine in the unpacked folder; its status in $status, its
# output in $out.
tool() {
  status=0
  out=$(LANG=C.UTF-8 bash "$run" "tools/$1.exe" "${@:2}" 2>&1) || status=$?
  out=$(printf '%s' "$out" | grep -v '^ALSA lib' || true)
}
expect_refusal() {  # what it was given, words the message must hold
  [[ $status -ne 0 ]] || fail "$1: accepted (status 0)"
  [[ $out == *"$2"* ]] || fail "$1: the message does not name $2: $out"
}

# Hear and pace: a WAV and the script with wait tags, from a voice folder
# with a Japanese name, into a Japanese file name.
mkdir 声 && cp -R vokariv0 vokaric0 vokariv1 vokaric1 reading.dic vokari.txt 声/
tool vokari-say -m 声 --no-play -o 出力.wav "こんにちは"
[[ $status -eq 0 ]] || fail "vokari-say did not speak (status $status): $out"
[[ $(head -c 4 出力.wav) == RIFF && $(stat -c %s 出力.wav) -gt 1000 ]] || fail "vokari-say wrote no WAV into 出力.wav"
[[ $out == *'こ\_w['* ]] || fail "vokari-say did not print the paced script: $out"

# The private copy of the voice in the user's temporary folder is gone.
leftover=$(find "${WINEPREFIX:-$HOME/.wine}/drive_c" -maxdepth 6 -name 'vokari-say-*' 2>/dev/null || true)
[[ -z $leftover ]] || fail "vokari-say left its private folder behind: $leftover"

# Without -m, the voice of the zip's own folder.
tool vokari-say --no-play "あ"
[[ $status -eq 0 && $out == *'あ\_w['* ]] || fail "vokari-say did not find the zip's voice (status $status): $out"

# Its bad input: a folder that is not there, a file given as the voice
# folder, a read-only output file (kept as it was), an output folder that
# is not there, a script file in the wrong encoding.
tool vokari-say -m 無い声 --no-play "あ"
expect_refusal "a missing voice folder" "無い声"
tool vokari-say -m vokari.dll --no-play "あ"
expect_refusal "a file as the voice folder" "vokari.dll"
printf 'keep' >読み取り専用.wav && chmod 444 読み取り専用.wav
tool vokari-say -m 声 --no-play -o 読み取り専用.wav "あ"
expect_refusal "a read-only output file" "読み取り専用.wav"
[[ $(cat 読み取り専用.wav) == keep ]] || fail "a read-only output file was overwritten"
tool vokari-say -m 声 --no-play -o 無いフォルダー/out.wav "あ"
expect_refusal "an output folder that is not there" "無いフォルダー/out.wav"
tool vokari-say -m 声 --no-play "あ☃"
expect_refusal "a character without a Shift_JIS form" "'☃' (U+2603)"
printf '\xff\xfe\x42\x30' >utf16.txt
tool vokari-say -m 声 --no-play -f utf16.txt
expect_refusal "a UTF-16 script file" "utf16.txt"

# A voice from recordings (made with espeak-ng) into a new Japanese-named
# folder, which gets the zip's reading dictionary and a vokari.txt.
mkdir 録音 新しい声
espeak-ng -v ja -w 録音/a.wav "あ"
espeak-ng -v ja -w 録音/ka.wav "か"
tool vokari-voicebank 録音 新しい声
[[ $status -eq 0 || $status -eq 3 ]] || fail "vokari-voicebank failed on recordings (status $status): $out"
[[ -d 新しい声/vokariv0 && -f 新しい声/reading.dic ]] || fail "the new voice lacks vokariv0 or reading.dic: $(ls 新しい声)"
grep -q 'voice.translate.dic,reading.dic' 新しい声/vokari.txt || fail "the new voice's vokari.txt does not read through reading.dic"
tool vokari-say -m 新しい声 --no-play -o new.wav "かあ"
[[ $status -eq 0 && -s new.wav ]] || fail "the new voice does not speak (status $status): $out"

# Its bad input: no such recordings folder; a module folder that is a file;
# a recordings folder without recordings.  The voice built above stays.
before=$(cd 新しい声 && find . -type f -exec md5sum {} + | sort)
tool vokari-voicebank 無い録音 新しい声
expect_refusal "a missing recordings folder" "無い録音"
tool vokari-voicebank 録音 vokari.dll
expect_refusal "a file as the module folder" "vokari.dll"
tool vokari-voicebank examples 新しい声
expect_refusal "a folder without recordings" "examples"
[[ $(cd 新しい声 && find . -type f -exec md5sum {} + | sort) == "$before" ]] || fail "a refused build changed the voice folder"

# A CV bank with Shift_JIS oto.ini files in a Japanese-named folder and
# sub-bank.
mkdir -p CV音源/強 取り込み
cp 録音/a.wav CV音源/あ.wav
cp 録音/a.wav CV音源/強/い.wav
printf '\x82\xa0.wav=\x82\xa0,50,80,-300,60,20\r\n' >CV音源/oto.ini
printf '\x82\xa2.wav=\x82\xa2,50,80,-300,60,20\r\n' >CV音源/強/oto.ini
tool vokari-voicebank --oto CV音源 取り込み
[[ $status -eq 0 || $status -eq 3 ]] || fail "vokari-voicebank --oto failed (status $status): $out"
[[ $out == *"2 of 107 slots mapped"* ]] || fail "the import did not map both sub-banks' recordings: $out"
[[ -d 取り込み/vokariv0 && -f 取り込み/vokari.txt ]] || fail "the imported voice lacks vokariv0 or vokari.txt"

# Its bad input: an oto.ini in neither Shift_JIS nor UTF-8.
mkdir 壊れた 取り込み2
cp 録音/a.wav 壊れた/a.wav
printf 'a.wav=\xff\xfe\x80,50,80,-300,60,20\r\n' >壊れた/oto.ini
tool vokari-voicebank --oto 壊れた 取り込み2
expect_refusal "an oto.ini in the wrong encoding" "oto.ini"
[[ -z $(ls 取り込み2) ]] || fail "a refused import wrote into the module folder"
echo "check_zip_tools: OK"
