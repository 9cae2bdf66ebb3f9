#!/usr/bin/env bash
# Unpacks the release zip into a temporary folder and has the packaged
# vokari.dll speak there under wine with the packaged voice.
#   check_zip.sh ZIP CHECK_EXE
# CHECK_EXE is vokari_package_check.exe (tests/package/package_check.cpp).
set -euo pipefail
zip_file="$1"
check_exe="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fail() { printf 'check_zip: FAIL: %s\n' "$*" >&2; exit 1; }

[[ -f $zip_file ]] || fail "no zip at $zip_file"
[[ -f $check_exe ]] || fail "no check program at $check_exe"
version_in_name=$(basename "$zip_file" | sed -n 's/^vokari-\([0-9][0-9.]*\)-win32\.zip$/\1/p')
[[ -n $version_in_name ]] || fail "the zip's name $(basename "$zip_file") does not carry a version"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_file" -d "$work"
top=("$work"/*)
[[ ${#top[@]} -eq 1 && -d ${top[0]} ]] || fail "the zip does not hold exactly one folder"
folder="${top[0]}"
[[ $(basename "$folder") == "vokari-$version_in_name" ]] || fail "the zip's folder is $(basename "$folder"), not vokari-$version_in_name"

# The layout: everything the guide's installing section lists.
for name in vokari.dll vokari.txt dictionary.txt reading.dic READING-LICENSE.txt VOICE-LICENSE.txt guide.md \
            examples vokariv0 vokariv1 vokaric0 vokaric1 naist-jdic/checksums NAIST-JDIC-LICENSE.txt; do
  [[ -e $folder/$name ]] || fail "the zip lacks $name"
done
# The espeak-ng voice, a second module folder to choose instead.
for name in vokari.txt VOICE-LICENSE.txt vokariv0 vokariv1 vokaric0 vokaric1; do
  [[ -e $folder/voices/espeak/$name ]] || fail "the zip lacks voices/espeak/$name"
done
for folder_name in vokariv0 vokariv1; do
  for slot in 0 1 2 3 4 45; do
    [[ -f $folder/$folder_name/$slot.wav || -f $folder/$folder_name/$slot.hv1 ]] || fail "$folder_name lacks slot $slot"
  done
done
# Text files for the host are Shift_JIS with CR LF, as the module reads them.
crlf_only() { ! LC_ALL=C grep -q $'[^\r]$\|^$' "$1"; }
host_texts=(vokari.txt dictionary.txt reading.dic)
while IFS= read -r example; do host_texts+=("${example#"$folder"/}"); done < <(find "$folder/examples" -type f)
for text in "${host_texts[@]}"; do
  iconv -f CP932 -t UTF-8 "$folder/$text" >/dev/null 2>&1 || fail "$text is not Shift_JIS"
  crlf_only "$folder/$text" || fail "$text has a line that does not end in CR LF"
done
# The documents are UTF-8 with a byte-order mark and CR LF, which Notepad
# shows correctly; the guide and every page it points to are there.
for doc in START-HERE.txt guide.md voice.md; do
  [[ -f $folder/$doc ]] || fail "the zip lacks $doc"
  [[ $(head -c 3 "$folder/$doc" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "$doc does not start with a UTF-8 byte-order mark"
  iconv -f UTF-8 -t UTF-8 "$folder/$doc" >/dev/null 2>&1 || fail "$doc is not UTF-8"
  crlf_only "$folder/$doc" || fail "$doc has a line that does not end in CR LF"
done
for page in $(grep -o '[A-Za-z0-9_./-]*\.md' "$folder/guide.md" | sort -u); do
  [[ -f $folder/$(basename "$page") ]] || fail "the guide points to $page, which the zip lacks"
done
for picture in $(grep -o '([A-Za-z0-9_-]*\.\(png\|wav\))' "$folder/voice.md" | tr -d '()' | sort -u); do
  [[ -f $folder/$picture ]] || fail "voice.md points to $picture, which the zip lacks"
done
# The workbench, when packed, opens from the folder: its page and the script
# that carries the module.
if [[ -d $folder/workbench ]]; then
  for name in workbench.html workbench-inline.js vokari-api.js app.js; do
    [[ -f $folder/workbench/$name ]] || fail "the workbench lacks $name"
  done
  # Beside the DLL's analyser dictionary, the same in the form the page reads.
  [[ ! -d $folder/naist-jdic || -f $folder/workbench/naist-jdic.js ]] ||
    fail "the workbench lacks naist-jdic.js: it would read kanji otherwise than the DLL"
fi
# The start-here file is in Japanese and English and names everything in the zip.
start=$(iconv -f UTF-8 -t UTF-8 "$folder/START-HERE.txt")
[[ $start == *はじめに* && $start == *"Start here"* ]] || fail "START-HERE.txt is not in Japanese and English"
for entry in "$folder"/*; do
  name=$(basename "$entry")
  [[ $name == *-LICENSE.txt ]] && name='*-LICENSE.txt'
  [[ $start == *"$name"* ]] || fail "START-HERE.txt does not name $name"
done
grep -q $'^tag.prefix,@\r$' "$folder/vokari.txt" || fail "vokari.txt does not list tag.prefix at its default"
grep -q $'^voice.reading.dic,naist-jdic\r$' "$folder/vokari.txt" || fail "vokari.txt does not read in context"

cp "$check_exe" "$work/check.exe"
export WINEDEBUG=-all
win_folder=$(winepath -w "$folder" 2>/dev/null) || fail "winepath failed"
run="$here/../../cmake/run-wine.sh"
if [[ -x $run || -f $run ]]; then
  bash "$run" "$work/check.exe" "$win_folder" >"$work/out.txt" 2>"$work/err.txt" && status=0 || status=$?
else
  wine "$work/check.exe" "$win_folder" >"$work/out.txt" 2>"$work/err.txt" </dev/null && status=0 || status=$?
fi
cat "$work/out.txt"
[[ $status -eq 0 ]] || { cat "$work/err.txt" >&2; fail "the packaged DLL did not speak under wine (status $status)"; }
[[ ! -e $folder/package-check.wav ]] || fail "the check left its sound file behind"
echo "check_zip: OK: $(basename "$zip_file")"
