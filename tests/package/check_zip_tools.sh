#!/usr/bin/env bash
# Takes the Windows tools in the release zip the way an author does: unpacks
# the zip into a temporary folder and, under wine, hears and paces a script
# with a voice folder, sees the kana the module voices, builds a voice from
# recordings, imports a CV bank and builds a reading dictionary from a
# character's scripts, with Japanese folder and file names; then each one's
# bad input, which must be a plain message naming the file or folder, with
# nothing lost (read-only folders and a full disk: check_zip_tools_mounted.sh).
#   check_zip_tools.sh ZIP
set -euo pipefail
zip_file="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v espeak-ng >/dev/null || fail "espeak-ng is needed to make the recordings"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_file" -d "$work"
folder=$(echo "$work"/vokari-*)
for program in vokari-say vokari-voicebank vokari-readings; do
  [[ -f $folder/tools/$program.exe ]] || fail "the zip lacks tools/$program.exe"
done
cd "$folder"
# They stand alone: no DLL but the system's (no C++ runtime, no audio library).
for program in tools/*.exe; do
  for dll in $(i686-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    [[ ${dll^^} =~ ^(KERNEL32|MSVCRT|WINMM|USER32|ADVAPI32|SHELL32|OLE32)\.DLL$ ]] || fail "$program needs $dll, which Windows does not have"
  done
done

source "$here/zip_tools_common.sh"

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

# See the kana: the zip's own voice reads in context with the zip's
# analyser dictionary, and prints what the native vokari-say prints
# (check_native_references.sh holds the native one to the same files).
[[ -f naist-jdic/sys.dic ]] || fail "the zip lacks the analyser dictionary naist-jdic"
cp "$here/reading-scripts.txt" 台本.txt
tool vokari-say --reading "$(head -n 1 台本.txt)"
[[ $status -eq 0 && $out == "$(head -n 1 "$here/reading-kana.txt")" ]] || fail "vokari-say --reading (status $status): $out"
tool vokari-say --reading --each-line -f 台本.txt
[[ $status -eq 0 && $out == "$(cat "$here/reading-kana.txt")" ]] ||
  fail "vokari-say --reading differs from the native one (status $status): $(diff "$here/reading-kana.txt" <(printf '%s\n' "$out"))"
tool vokari-say --reading --pitch --each-line -f 台本.txt
[[ $status -eq 0 && $out == "$(cat "$here/reading-kana-pitch.txt")" ]] ||
  fail "vokari-say --reading --pitch differs from the native one (status $status): $(diff "$here/reading-kana-pitch.txt" <(printf '%s\n' "$out"))"
# Its bad input: a voice folder without the reading step; a script file in
# the wrong encoding.
tool vokari-say -m 声 --reading "今日"
expect_refusal "a voice without the reading step" "声"
tool vokari-say --reading --each-line -f utf16.txt
expect_refusal "a UTF-16 script list" "utf16.txt"

# Build a reading dictionary from a character folder laid out as the guide
# says, into the folder itself: the same bytes as the native builder's, and
# a second run passes over the first one's dictionary.
bash "$here/make_character.sh" キャラ
tool vokari-readings -o キャラ/ghost/master/mine.dic キャラ/ghost/master
[[ $status -eq 0 ]] || fail "vokari-readings failed (status $status): $out"
[[ $out == *"1 file of the module"*"1 voice or example folder"* ]] || fail "vokari-readings read the module's files: $out"
cmp -s キャラ/ghost/master/mine.dic "$here/reading-dictionary.dic" ||
  fail "vokari-readings wrote another dictionary than the native one: $(diff <(iconv -f CP932 -t UTF-8 "$here/reading-dictionary.dic") <(iconv -f CP932 -t UTF-8 キャラ/ghost/master/mine.dic))"
tool vokari-readings --force -o キャラ/ghost/master/mine.dic キャラ/ghost/master
[[ $status -eq 0 && $out == *"1 dictionary it wrote before"* ]] || fail "vokari-readings --force did not pass over its own dictionary: $out"
cmp -s キャラ/ghost/master/mine.dic "$here/reading-dictionary.dic" || fail "vokari-readings --force changed the dictionary"

# Its bad input: an existing dictionary without --force (kept); a folder
# that is not there; a voice folder, which holds no scripts; a script in
# neither UTF-8 nor Shift_JIS (named and skipped, the rest written).
tool vokari-readings -o キャラ/ghost/master/mine.dic キャラ/ghost/master
expect_refusal "an existing dictionary" "キャラ/ghost/master/mine.dic"
cmp -s キャラ/ghost/master/mine.dic "$here/reading-dictionary.dic" || fail "a refused run changed the dictionary"
tool vokari-readings -o none.dic 無いキャラ
expect_refusal "a missing character folder" "無いキャラ"
tool vokari-readings -o none.dic vokariv0
expect_refusal "a voice folder" "vokariv0"
[[ ! -e none.dic ]] || fail "a refused run wrote none.dic"
printf '\x82\xa0\xff\xfe\x80\r\n' >キャラ/ghost/master/壊れた.txt
tool vokari-readings -o other.dic キャラ/ghost/master
[[ $status -eq 2 && $out == *"壊れた.txt"* && -s other.dic ]] || fail "a script in the wrong encoding (status $status): $out"

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

# Read-only folders and a full disk, for which wine (run as root here) needs
# real ones: a mount namespace of the check's own.
if unshare -m true 2>/dev/null; then
  unshare -m bash "$here/check_zip_tools_mounted.sh" "$folder"
else
  echo "check_zip_tools: no mount namespace here, so read-only folders and a full disk were not tried"
fi
leftover=$(find "${WINEPREFIX:-$HOME/.wine}/drive_c" -maxdepth 6 -name 'vokari-say-*' 2>/dev/null || true)
[[ -z $leftover ]] || fail "a run of vokari-say left its private folder behind: $leftover"
echo "check_zip_tools: OK"
