#!/bin/bash
# Runs a Windows program under wine for ctest.  wine's output goes to files and
# is printed afterwards: a wineserver that lingers after the program has ended
# would otherwise hold ctest's pipes open.  The wine prefix is initialised on
# first use.
#
#   run-wine.sh program.exe [arguments...]
#   run-wine.sh --prepare        only initialise the prefix
set -u
export WINEDEBUG=-all
prefix="${WINEPREFIX:-$HOME/.wine}"
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
if [ ! -f "$prefix/system.reg" ]; then
  echo "run-wine: initialising $prefix" >&2
  wineboot --init >"$out" 2>&1 || { cat "$out"; echo "run-wine: wineboot failed" >&2; exit 1; }
  wineserver -w
fi
[ "${1:-}" = "--prepare" ] && exit 0

wine "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"
cat "$err" >&2
# A crash in a thread of the program can end it with status 0.
if grep -q "^wine: Unhandled" "$err" "$out"; then
  echo "run-wine: the program crashed" >&2
  [ $rc -eq 0 ] && rc=1
fi
exit $rc
