#!/usr/bin/env bash
# The references that the release zip's Windows tools are held to under wine
# (check_zip_tools.sh) are what the native tools print and write: the kana
# of reading-scripts.txt from vokari-say --reading (and --pitch) with the
# bundled voice, and the dictionary vokari-readings builds with the voice's
# analyser dictionary from the character folder of make_character.sh.
# After a deliberate change of the reading step or the builder, --update
# writes the references anew from the native tools.
#   check_native_references.sh [--update] VOKARI_SAY VOKARI_READINGS VOICE_DIR
set -euo pipefail
update=0
if [[ ${1:-} == --update ]]; then update=1; shift; fi
say="$1" readings="$2" voice="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fail() { printf 'check_native_references: FAIL: %s\n' "$*" >&2; exit 1; }
[[ -f $voice/naist-jdic/sys.dic ]] || fail "no analyser dictionary in $voice/naist-jdic (build vokari_reading_dictionary)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$say" -m "$voice" --reading --each-line -f "$here/reading-scripts.txt" >"$work/kana.txt"
"$say" -m "$voice" --reading --pitch --each-line -f "$here/reading-scripts.txt" >"$work/pitch.txt"
# A line with no Shift_JIS form costs that line only, and the run fails.
{ sed -n 1p "$here/reading-scripts.txt"; echo '😀です'; sed -n 2p "$here/reading-scripts.txt"; } >"$work/bad.txt"
status=0
"$say" -m "$voice" --reading --each-line -f "$work/bad.txt" >"$work/bad-kana.txt" 2>"$work/bad-log" || status=$?
[[ $status -eq 1 && $(cat "$work/bad-kana.txt") == "$(sed -n 1p "$here/reading-kana.txt")"$'\n\n'"$(sed -n 2p "$here/reading-kana.txt")" ]] ||
  fail "vokari-say --reading --each-line with an unreadable line (status $status): $(cat "$work/bad-kana.txt" "$work/bad-log")"
grep -q "^vokari-say: line 2: cannot read this script: no Shift_JIS form for '😀'" "$work/bad-log" ||
  fail "vokari-say named no line: $(cat "$work/bad-log")"
bash "$here/make_character.sh" "$work/character"
"$readings" --mecab-dic "$voice/naist-jdic" -o "$work/mine.dic" "$work/character/ghost/master" 2>"$work/log" ||
  fail "vokari-readings: $(cat "$work/log")"
if [[ $update -eq 1 ]]; then
  cp "$work/kana.txt" "$here/reading-kana.txt"
  cp "$work/pitch.txt" "$here/reading-kana-pitch.txt"
  cp "$work/mine.dic" "$here/reading-dictionary.dic"
  echo "check_native_references: references written"
  exit 0
fi
cmp -s "$work/kana.txt" "$here/reading-kana.txt" || fail "vokari-say --reading: $(diff "$here/reading-kana.txt" "$work/kana.txt")"
cmp -s "$work/pitch.txt" "$here/reading-kana-pitch.txt" ||
  fail "vokari-say --reading --pitch: $(diff "$here/reading-kana-pitch.txt" "$work/pitch.txt")"
cmp -s "$work/mine.dic" "$here/reading-dictionary.dic" ||
  fail "vokari-readings: $(diff <(iconv -f CP932 -t UTF-8 "$here/reading-dictionary.dic") <(iconv -f CP932 -t UTF-8 "$work/mine.dic"))"
echo "check_native_references: OK"
