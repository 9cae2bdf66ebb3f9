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
for folder_name in vokariv0 vokariv1; do
  for slot in 0 1 2 3 4 45; do
    [[ -f $folder/$folder_name/$slot.wav || -f $folder/$folder_name/$slot.hv1 ]] || fail "$folder_name lacks slot $slot"
  done
done
# Text files are Shift_JIS, as the module reads them.
for text in vokari.txt dictionary.txt reading.dic; do
  iconv -f CP932 -t UTF-8 "$folder/$text" >/dev/null 2>&1 || fail "$text is not Shift_JIS"
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
