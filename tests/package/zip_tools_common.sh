# The helpers of the checks that run the release zip's Windows tools under
# wine, sourced by them with $here set to this folder.
run="$here/../../cmake/run-wine.sh"
fail() { printf '%s: FAIL: %s\n' "$(basename "$0" .sh)" "$*" >&2; exit 1; }

# Runs a tool under wine in the unpacked folder; its status in $status, its
# output in $out, with the console's CR LF line ends as LF.
tool() {
  status=0
  out=$(LANG=C.UTF-8 bash "$run" "tools/$1.exe" "${@:2}" 2>&1) || status=$?
  out=$(printf '%s' "$out" | tr -d '\r' | grep -v '^ALSA lib' || true)
}
expect_refusal() {  # what it was given, words the message must hold
  [[ $status -ne 0 ]] || fail "$1: accepted (status 0)"
  [[ $out == *"$2"* ]] || fail "$1: the message does not name $2: $out"
}
# The files below a folder with their checksums, to see that nothing changed.
contents() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }
