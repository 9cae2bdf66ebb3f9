#!/usr/bin/env bash
# Unpacks the Linux tarball into a temporary folder and has its vokari-say
# speak with the packaged library and voice, saving the speech to a file.
#   check_tarball.sh TARBALL
set -euo pipefail
tarball="$1"
fail() { printf 'check_tarball: FAIL: %s\n' "$*" >&2; exit 1; }

[[ -f $tarball ]] || fail "no tarball at $tarball"
version_in_name=$(basename "$tarball" | sed -n 's/^vokari-\([0-9][0-9.]*\)-linux-x86_64\.tar\.gz$/\1/p')
[[ -n $version_in_name ]] || fail "the tarball's name $(basename "$tarball") does not carry a version"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -C "$work" -xzf "$tarball"
folder="$work/vokari-$version_in_name-linux-x86_64"
[[ -d $folder ]] || fail "the tarball does not hold vokari-$version_in_name-linux-x86_64/"
for name in libvokari.so vokari-say guide.md examples VOICE-LICENSE.txt voices/default/vokari.txt \
            voices/default/dictionary.txt voices/default/reading.dic voices/default/READING-LICENSE.txt \
            voices/default/vokariv0 voices/default/vokaric0 voices/espeak/vokari.txt voices/espeak/vokariv1 \
            voices/espeak/vokaric1 voices/espeak/VOICE-LICENSE.txt; do
  [[ -e $folder/$name ]] || fail "the tarball lacks $name"
done

"$folder/vokari-say" --help >"$work/help.txt" 2>&1 || fail "vokari-say --help failed"
# Speak with what vokari-say finds beside itself, and once more naming it.
(cd "$work" && "$folder/vokari-say" --no-play --no-wait --output "$work/a.wav" 'こんにちは' >"$work/reply.txt" 2>&1) ||
  { cat "$work/reply.txt"; fail "vokari-say did not speak"; }
"$folder/vokari-say" --no-play --no-wait --library "$folder/libvokari.so" --module-dir "$folder/voices/default" \
  --output "$work/b.wav" 'こんにちは' >"$work/reply2.txt" 2>&1 || { cat "$work/reply2.txt"; fail "vokari-say did not speak"; }
cmp -s "$work/a.wav" "$work/b.wav" || fail "vokari-say did not use the library and voice beside it"
# The espeak-ng voice is a second voice: it speaks, and not with the default's samples.
"$folder/vokari-say" --no-play --no-wait --library "$folder/libvokari.so" --module-dir "$folder/voices/espeak" \
  --output "$work/e.wav" 'こんにちは' >"$work/reply3.txt" 2>&1 || { cat "$work/reply3.txt"; fail "the espeak-ng voice did not speak"; }
[[ $(stat -c %s "$work/e.wav") -gt 10000 ]] || fail "the espeak-ng voice saved (nearly) nothing"
cmp -s "$work/e.wav" "$work/b.wav" && fail "the espeak-ng voice speaks with the default voice's samples"
size=$(stat -c %s "$work/b.wav")
[[ $size -gt 10000 ]] || fail "the saved speech is only $size bytes"
sounding=$(tail -c +59 "$work/b.wav" | od -An -v -tu1 | tr -s ' ' '\n' | grep -cv -e '^$' -e '^255$' -e '^127$' || true)
[[ $sounding -gt $(( (size - 58) / 4 )) ]] || fail "the saved speech is (nearly) silent ($sounding sounding samples)"
# Kanji are read with the packaged reading dictionary: 今日 (two characters)
# is said in as many kana as きょう.
"$folder/vokari-say" --no-play --no-wait --output "$work/kanji.wav" '今日' >/dev/null 2>&1 || fail "vokari-say did not speak kanji"
"$folder/vokari-say" --no-play --no-wait --output "$work/kana.wav" 'きょう' >/dev/null 2>&1 || fail "vokari-say did not speak kana"
cmp -s "$work/kanji.wav" "$work/kana.wav" || fail "vokari-say does not read 今日 as きょう with the packaged voice"
echo "check_tarball: OK: $(basename "$tarball") ($sounding of $((size - 58)) samples sound)"
