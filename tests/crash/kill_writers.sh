#!/usr/bin/env bash
# Kills the writers of the project's outputs with SIGKILL at random moments
# and checks what is left: the voice-bank builder in both modes (recordings
# and --oto), vokari-readings and the release packager must leave the old
# output or the complete new one, never a mix and never nothing.  Then each
# writer meets a full disk (a small tmpfs where this user may mount one, else
# a file-size limit) and a read-only target: a plain message, a failure
# status and the old output untouched.
#
#   kill_writers.sh VOICEBANK ESPEAK_RECORD READINGS RUNS_PER_WRITER
#
# A program given as "none" is skipped (it was not built here).  Prints one line per writer with the
# outcomes; fails on any mix, loss, success on a full disk or read-only
# target, or a failure without a message.
set -uo pipefail

voicebank="$1" espeak_record="$2" readings="$3" runs="$4"
[[ $voicebank == none || $espeak_record == none ]] && voicebank="" espeak_record=""
[[ $readings == none ]] && readings=""
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work=$(mktemp -d)
mounts=()
cleanup() {
  local m
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# A digest of a folder's listed entries: names and contents, in order.
digest() {
  local dir="$1" f
  shift
  (cd "$dir" && for f in "$@"; do
     if [[ -d $f ]]; then find "$f" -type f | LC_ALL=C sort | xargs -r sha1sum; else sha1sum "$f" 2>/dev/null || echo "missing $f"; fi
   done) | sha1sum | cut -c1-40
}

# The zip's member names, sizes and checksums (its dates differ run to run).
zip_digest() { unzip -v "$1" 2>/dev/null | awk 'NF == 8 && $8 != "Name" {print $1, $3, $7, $8}' | sha1sum | cut -c1-40; }

# Seconds (fractional) a command takes.
duration() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000000 ))"
}

# A random moment in [0, 1.1 * ms): a third of the runs anywhere, the rest
# in the last 15 % of the run and a little after, where the writing happens.
moment_ms() {
  local ms="$1"
  if (( RANDOM % 3 == 0 )); then echo $(( RANDOM * ms * 11 / 10 / 32768 ));
  else echo $(( ms * 85 / 100 + RANDOM * (ms * 25 / 100) / 32768 )); fi
}

# Runs `command...` in the background, kills it after `delay_ms`: the
# whole process group, so that no child of a writer (the packager's zip and
# mv) lives on into the next run's fresh copy of the folder.
kill_after() {
  local delay_ms="$1"
  shift
  setsid "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  kill -9 -- "-$pid" 2>/dev/null || kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# Makes `dir` a small (`kb`, default 64) or read-only place: "full" or "ro".  Returns 1 when
# this user cannot, after which the caller uses a file-size limit (full) or
# skips (ro, unless not root: then chmod is enough).
restrict() {
  local how="$1" dir="$2" kb="${3:-64}"
  if [[ $how == full ]]; then
    mount -t tmpfs -o size="${kb}k" tmpfs "$dir" 2>/dev/null || return 1
  elif [[ $(id -u) -ne 0 ]]; then
    chmod a-w "$dir"
    return 0
  else
    mount --bind "$dir" "$dir" 2>/dev/null && mount -o remount,bind,ro "$dir" 2>/dev/null || return 1
  fi
  mounts+=("$dir")
}
release() { umount "$1" 2>/dev/null; chmod u+w "$1" 2>/dev/null; true; }

# ---- the voice-bank builder ----------------------------------------------
check_voicebank() {
  local mode="$1" source="$2" old_source="$3"
  local -a flags=()
  [[ $mode == oto ]] && flags=(--oto)
  local base="$work/vb-$mode-base" ref="$work/vb-$mode-ref" empty="$work/empty" dir
  mkdir -p "$base" "$ref" "$empty"
  "$voicebank" "${flags[@]}" "$source" "$ref" >/dev/null 2>&1
  "$voicebank" "${flags[@]}" "$old_source" "$base" >/dev/null 2>&1
  local new_sum old_sum
  new_sum=$(digest "$ref" vokariv0 vokaric0)
  old_sum=$(digest "$base" vokariv0 vokaric0)
  [[ $new_sum != "$old_sum" ]] || { fail "voicebank $mode: the old and new banks are alike"; return; }
  local ms old=0 new=0 finished=0 bad=0 i state
  ms=$(duration "$voicebank" "${flags[@]}" "$source" "$ref")
  for ((i = 0; i < runs; i++)); do
    dir="$work/vb-$mode-run"
    rm -rf "$dir" && cp -a "$base" "$dir"
    kill_after "$(moment_ms "$ms")" "$voicebank" "${flags[@]}" "$source" "$dir"
    # A swap that was under way shows as a marked scratch folder; the next
    # run of the builder (here one that has nothing to build) finishes it.
    if compgen -G "$dir/.voicebank-0-*/swap" >/dev/null; then
      ((finished++))
      "$voicebank" "${flags[@]}" "$empty" "$dir" >/dev/null 2>&1
    fi
    state=$(digest "$dir" vokariv0 vokaric0)
    if [[ $state == "$old_sum" ]]; then ((old++))
    elif [[ $state == "$new_sum" ]]; then ((new++))
    else ((bad++)); fail "voicebank $mode: run $i left a mix or a lost bank"; fi
  done
  echo "voicebank $mode: $runs kills in a ${ms} ms build: $old old bank, $new new bank," \
       "$finished swaps finished by the next run, $bad broken"

  # Full disk, then a read-only folder: refused, the old bank kept.
  local out status
  dir="$work/vb-$mode-full"
  mkdir -p "$dir"
  # Room for the old bank and a little more, not for a new bank beside it.
  if restrict full "$dir" $(( $(du -sk "$base/vokariv0" "$base/vokaric0" | awk '{k += $1} END {print k}') + 128 )); then
    cp -a "$base/vokariv0" "$base/vokaric0" "$dir"/ 2>/dev/null
    [[ -d $dir/vokaric0 ]] || { fail "voicebank $mode: the old bank does not fit the small disk"; release "$dir"; return; }
    old_sum=$(digest "$dir" vokariv0 vokaric0)
    out=$("$voicebank" "${flags[@]}" "$source" "$dir" 2>&1 >/dev/null); status=$?
  else
    rm -rf "$dir" && cp -a "$base" "$dir"
    old_sum=$(digest "$dir" vokariv0 vokaric0)
    out=$(trap '' XFSZ; ulimit -f 4; "$voicebank" "${flags[@]}" "$source" "$dir" 2>&1 >/dev/null); status=$?
  fi
  [[ $status -eq 1 && $out == *"cannot write"* ]] || fail "voicebank $mode on a full disk: status $status, '$out'"
  [[ $(digest "$dir" vokariv0 vokaric0) == "$old_sum" ]] || fail "voicebank $mode: a full disk changed the bank"
  release "$dir"
  dir="$work/vb-$mode-ro"
  rm -rf "$dir" && cp -a "$base" "$dir"
  if restrict ro "$dir"; then
    out=$("$voicebank" "${flags[@]}" "$source" "$dir" 2>&1 >/dev/null); status=$?
    [[ $status -eq 1 && $out == *"cannot write into the module folder"* ]] || fail "voicebank $mode read-only: status $status, '$out'"
    [[ $(digest "$dir" vokariv0 vokaric0) == "$(digest "$base" vokariv0 vokaric0)" ]] ||
      fail "voicebank $mode: a read-only folder changed"
    release "$dir"
  else
    echo "voicebank $mode: read-only folder not checked (cannot mount here)"
  fi
}

# ---- a writer of one file: vokari-readings and the packager ---------------
# check_file NAME FILE_IN_DIR SUM_FUNCTION WRITER...: the writer writes
# $target/FILE_IN_DIR; "{}" in its arguments stands for the target folder.
check_file() {
  local name="$1" file="$2" sum="$3"
  shift 3
  local -a writer=("$@")
  local base="$work/$name-base" dir="$work/$name-run"
  mkdir -p "$base"
  local -a in_base=("${writer[@]//\{\}/$base}")
  "${in_base[@]}" >/dev/null 2>&1
  local new_sum
  new_sum=$("$sum" "$base/$file")
  [[ -s $base/$file ]] || { fail "$name: the writer wrote nothing"; return; }
  printf 'old output\n' >"$base/$file"
  local old_sum ms old=0 new=0 bad=0 i state
  old_sum=$("$sum" "$base/$file")
  local -a in_dir=("${writer[@]//\{\}/$dir}")
  ms=$(duration "${in_base[@]}")
  printf 'old output\n' >"$base/$file"
  for ((i = 0; i < runs; i++)); do
    rm -rf "$dir" && cp -a "$base" "$dir" || { fail "$name: run $i could not start from a fresh copy"; continue; }
    kill_after "$(moment_ms "$ms")" "${in_dir[@]}"
    state=$("$sum" "$dir/$file")
    if [[ $state == "$old_sum" ]]; then ((old++))
    elif [[ $state == "$new_sum" ]]; then ((new++))
    else ((bad++)); fail "$name: run $i left a broken $file ($([[ $state == missing ]] && echo none at all || echo "neither the old nor the new one"))"; fi
  done
  echo "$name: $runs kills in a ${ms} ms write: $old old, $new new, $bad broken"

  local out status
  dir="$work/$name-full"
  mkdir -p "$dir"
  local -a in_full=("${writer[@]//\{\}/$dir}")
  if restrict full "$dir"; then
    printf 'old output\n' >"$dir/$file"
    cat /dev/zero >"$dir/filler" 2>/dev/null
    out=$("${in_full[@]}" 2>&1 >/dev/null); status=$?
  else
    printf 'old output\n' >"$dir/$file"
    out=$(trap '' XFSZ; ulimit -f 1; "${in_full[@]}" 2>&1 >/dev/null); status=$?
  fi
  [[ $status -ne 0 && $out == *"cannot"* ]] || fail "$name on a full disk: status $status, '$out'"
  [[ $("$sum" "$dir/$file") == "$old_sum" ]] || fail "$name: a full disk changed $file"
  release "$dir"
  dir="$work/$name-ro"
  mkdir -p "$dir"
  printf 'old output\n' >"$dir/$file"
  local -a in_ro=("${writer[@]//\{\}/$dir}")
  if restrict ro "$dir"; then
    out=$("${in_ro[@]}" 2>&1 >/dev/null); status=$?
    [[ $status -ne 0 && -n $out ]] || fail "$name read-only: status $status, '$out'"
    [[ $("$sum" "$dir/$file") == "$old_sum" ]] || fail "$name: a read-only folder changed"
    release "$dir"
  else
    echo "$name: read-only folder not checked (cannot mount here)"
  fi
}
file_digest() { if [[ -f $1 ]]; then sha1sum "$1" | cut -c1-40; else echo missing; fi; }
zip_or_old() { if unzip -tq "$1" >/dev/null 2>&1; then zip_digest "$1"; else file_digest "$1"; fi; }

if [[ -n $voicebank && -n $espeak_record ]]; then
  "$espeak_record" --speaker 0 "$work/rec" >/dev/null 2>&1
  "$espeak_record" --speaker 1 "$work/rec-old" >/dev/null 2>&1
  # The same recordings as a CV bank: every file one entry, cut to the end.
  for rec in rec rec-old; do
    mkdir -p "$work/oto-$rec"
    cp "$work/$rec"/*.wav "$work/oto-$rec"/
    for f in "$work/$rec"/*.wav; do printf '%s=,0,60,0,40,10\r\n' "$(basename "$f")"; done >"$work/oto-$rec/oto.ini"
  done
  check_voicebank recordings "$work/rec" "$work/rec-old"
  check_voicebank oto "$work/oto-rec" "$work/oto-rec-old"
fi
if [[ -n $readings ]]; then
  check_file readings reading.dic file_digest "$readings" --force -o "{}/reading.dic" "$root/tests/readings/scripts"
fi
printf 'not a real DLL\n' >"$work/vokari.dll"
version=$(sed -n 's/^project(vokari VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
check_file package "vokari-$version-win32.zip" zip_or_old bash "$root/scripts/package.sh" --assemble-zip "$work/vokari.dll" "{}"

exit "$failed"
