#!/usr/bin/env bash
# The README's first command saves its speech in the clone (speak.sh's "wav="
# line names the file): git must ignore it, so that the clone stays clean.
#
#   speak_output_ignored.sh SOURCE_ROOT
set -euo pipefail
root="$1"
name=$(sed -n 's|^wav="\$PWD/\(.*\)"$|\1|p' "$root/scripts/speak.sh")
[[ -n $name ]] || { echo "speak.sh names no output file in a wav=\"\$PWD/...\" line" >&2; exit 1; }
if ! git -C "$root" check-ignore -q "$name"; then
  echo "git does not ignore $name, which speak.sh writes into the clone" >&2
  exit 1
fi
echo "git ignores $name"
