#!/usr/bin/env bash
# Mutation testing: plants plausible one-line bugs in the module and the
# tools, one at a time, and runs the tests that cover the planted file's
# folder.  A mutant is killed when its build's tests fail (or hang), and
# stillborn when it does not compile (not counted).  Prints the kill rate per
# folder and overall, with every survivor.
#
#   scripts/mutation-test.sh [--folder DIR]... [--per-folder N] [--seed S] [--list]
#
#   --folder DIR     only this folder (repeatable): host, voice_data,
#                    tools/readings ...; default every folder
#   --per-folder N   mutants per folder (default 8: 93 in all)
#   --seed S         which mutants are picked (default 1); the same seed
#                    picks the same mutants of a folder, whichever other
#                    folders are named
#   --only FILE:LINE only the chosen mutant on this line (repeatable), e.g.
#                    to show that a new test kills a survivor
#   --list           print the chosen mutants and stop
#   --log FILE       also append each verdict to FILE as it comes (a run
#                    stopped half-way keeps what it found)
#
# scripts/mutation-equivalent.txt names the mutants that change no behaviour
# (file, line before, line after, why; tab-separated).  They still run: one
# that survives is shown as equivalent and left out of the rate, one that is
# killed counts as killed.
#
# The kinds of bug: a flipped comparison, a dropped "+ 1" or "- 1", a
# dropped statement, a constant one larger, true and false swapped, in the
# .cpp files: a mutated header would rebuild most of the tree twice.  Files
# that only the Windows build compiles (*_win32.cpp, tools/windows) are left
# out: no native test could kill their mutants.  Works on a copy of the tree
# in build/mutation (the worktree is never changed); each mutant rebuilds
# only its folder's test programs, which run in shards and stop at their
# first failure, under a time limit of three times the unchanged run.  From
# 5 to 30 s a mutant: run it niced, in the background.  Not part of CI.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$root/build/mutation"
folders=() only=() per_folder=8 seed=1 list_only=0 log=/dev/null
while [[ $# -gt 0 ]]; do
  case "$1" in
    --folder) folders+=("${2%/}"); shift 2 ;;
    --per-folder) per_folder="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    --only) only+=("$2"); shift 2 ;;
    --list) list_only=1; shift ;;
    --log) log="$2"; shift 2 ;;
    -h|--help) sed -n '2,/^set /p' "$0" | grep '^#' | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "mutation-test: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [[ ${#folders[@]} -eq 0 ]]; then
  for dir in base platform platform/posix voice_data reading translate synth host \
             tools/text tools/voicebank tools/readings tools/vokari-say; do
    [[ -d $root/$dir ]] && folders+=("$dir")
  done
fi

# The test programs that cover a folder, the quickest first.  The reading
# step, the translation's context and accent parts and the request that
# answers a reading are tested by the module's tests and by the readings'
# tests; the text library is linked by every tool; vokari-say links the
# platform layer.
tests_for() {
  case "$1" in
    tools/text) echo "vokari_text_tests vokari_say_tests vokari_readings_tests voicebank_tests" ;;
    tools/voicebank) echo "voicebank_tests voicebank_espeak_tests" ;;
    tools/readings) echo "vokari_readings_tests" ;;
    tools/vokari-say) echo "vokari_say_tests" ;;
    reading|translate|host) echo "vokari_tests vokari_readings_tests" ;;
    platform|platform/posix) echo "vokari_tests vokari_say_tests" ;;
    *) echo "vokari_tests" ;;
  esac
}

mkdir -p "$work"
mutants="$work/mutants.tsv"
python3 - "$root" "$seed" "$per_folder" "${folders[@]}" >"$mutants" <<'EOF'
import glob, os, random, re, sys
root, seed, per_folder, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]

def outside_quotes(line, pos):
    return line[:pos].count('"') % 2 == 0 and line[:pos].count("'") % 2 == 0

comparisons = {' < ': ' <= ', ' <= ': ' < ', ' > ': ' >= ', ' >= ': ' > ', ' == ': ' != ', ' != ': ' == '}
statement = re.compile(r'^\s+(\+\+\w+|\w+(\.\w+|->\w+|\[[^\]]*\])*\s*([-+*/|&]?=[^=].*|\+\+|--)|[\w:.>-]+\(.*\));\s*$')

def candidates(path, rel):
    found = []
    with open(path, encoding='utf-8', errors='replace') as f:
        lines = f.read().split('\n')
    for n, line in enumerate(lines):
        code = line.split('//')[0]
        s = code.strip()
        if not s or s.startswith(('#', '*', '/*')) or 'static_assert' in s or 'template' in s:
            continue
        for old, new in comparisons.items():
            i = code.find(old)
            if i >= 0 and outside_quotes(code, i) and '<<' not in code and '>>' not in code:
                found.append((rel, n + 1, 'flipped comparison', line, line[:i] + new + line[i + len(old):]))
                break
        for m in re.finditer(r' ([+-]) 1\b(?!\.)', code):
            if outside_quotes(code, m.start()):
                found.append((rel, n + 1, 'off by one', line, line[:m.start()] + line[m.end():]))
                break
        if statement.match(code) and not re.match(r'^\s*(return|const|auto|static|using|case|goto)\b', code) \
                and not re.match(r'^\s*[\w:<>]+[\s&*]+\w+\s*=', code):
            found.append((rel, n + 1, 'dropped statement', line, re.sub(r'\S.*$', ';', line)))
        for m in re.finditer(r'(?<![\w.])([1-9]\d*)(?![\w.])', code):
            if outside_quotes(code, m.start()) and '[' not in code[:m.start()].split('=')[0][-2:]:
                found.append((rel, n + 1, 'wrong constant', line,
                              line[:m.start()] + str(int(m.group(1)) + 1) + line[m.end():]))
                break
        m = re.search(r'\b(true|false)\b', code)
        if m and outside_quotes(code, m.start()):
            found.append((rel, n + 1, 'true and false swapped', line,
                          line[:m.start()] + ('false' if m.group(1) == 'true' else 'true') + line[m.end():]))
    return found

equivalent = {}
listed = os.path.join(root, 'scripts', 'mutation-equivalent.txt')
if os.path.exists(listed):
    for entry in open(listed, encoding='utf-8'):
        fields = entry.rstrip('\n').split('\t')
        if len(fields) == 4 and not entry.startswith('#'):
            equivalent[tuple(fields[:3])] = fields[3]
for folder in folders:
    rng = random.Random('%d:%s' % (seed, folder))
    files = sorted(f for f in glob.glob(os.path.join(root, folder, '*.cpp')) if '_win32.' not in os.path.basename(f))
    pool = []
    for path in files:
        pool += candidates(path, os.path.relpath(path, root))
    rng.shuffle(pool)
    chosen, lines_used = [], set()
    for c in pool:
        if (c[0], c[1]) in lines_used:
            continue
        lines_used.add((c[0], c[1]))
        chosen.append(c)
        if len(chosen) == per_folder:
            break
    for rel, n, kind, old, new in sorted(chosen, key=lambda c: (c[0], c[1])):
        print('\t'.join([folder, rel, str(n), kind, old.strip(), new.strip(),
                         equivalent.get((rel, old.strip(), new.strip()), '')]))
EOF
if [[ ${#only[@]} -gt 0 ]]; then
  awk -F'\t' 'NR == FNR { wanted[$0] = 1; next } ($2 ":" $3) in wanted' <(printf '%s\n' "${only[@]}") \
    "$mutants" >"$mutants.only" && mv "$mutants.only" "$mutants"
fi
count=$(wc -l <"$mutants")
if [[ $list_only -eq 1 ]]; then
  awk -F'\t' '{printf "%s:%s  %s%s\n    - %s\n    + %s\n", $2, $3, $4, $7 == "" ? "" : "  (equivalent)", $5, $6}' "$mutants"
  echo "$count mutants"
  exit 0
fi

# A copy of the tree, built once; each mutant changes one line of it.
src="$work/src" build="$work/build"
mkdir -p "$src"
# Only files whose bytes differ are replaced (and so rebuilt): a file that a
# killed run left mutated is put right even when its time says otherwise.
stage="$work/stage"
rm -rf "$stage" && mkdir -p "$stage"
(cd "$root" && git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$stage") || exit 1
python3 - "$stage" "$src" <<'EOF2'
import filecmp, os, shutil, sys
stage, src = sys.argv[1], sys.argv[2]
for folder, _, files in os.walk(stage):
    for name in files:
        fresh = os.path.join(folder, name)
        target = os.path.join(src, os.path.relpath(fresh, stage))
        if not os.path.exists(target) or not filecmp.cmp(fresh, target, shallow=False):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(fresh, target)
# A file the tree no longer has goes too, or a folder's glob would still
# build it; what the build fetches or makes inside the copy stays.
made = ("web/node_modules", "voices/default/naist-jdic")
for folder, _, files in os.walk(src):
    for name in files:
        target = os.path.join(folder, name)
        relative = os.path.relpath(target, src)
        if relative.split(os.sep)[0].startswith("build") or relative.startswith(made):
            continue
        if not os.path.exists(os.path.join(stage, relative)):
            os.remove(target)
EOF2
# With the standard library's bounds checks, as the sanitized suite has them:
# an index one past a vector's end is caught even where it reads harmlessly.
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=ON -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS \
  >"$work/configure.log" 2>&1 ||
  { echo "mutation-test: configure failed (see $work/configure.log)"; exit 1; }

programs_of() { local t; for t in $(tests_for "$1"); do find "$build" -name "$t" -type f -perm -u+x | head -1; done; }

# Runs a test program in four shards at once (its tests mostly wait on the
# clock or the disk), each with its own temporary folder; 0 when every shard
# passes.  A mutant's run stops at its first failure and at the time
# limit.  The sixteen-megabyte request is left out: it takes half a minute,
# tests memory rather than logic, and every other case still runs.
run_program() {
  local p="$1" limit="$2" shard pids=() rc=0
  for shard in 0 1 2 3; do
    rm -rf "$work/tmp.$shard" && mkdir -p "$work/tmp.$shard"
    (cd "$(dirname "$p")" && TMPDIR="$work/tmp.$shard" GTEST_TOTAL_SHARDS=4 GTEST_SHARD_INDEX=$shard \
      timeout "$limit" "$p" --gtest_brief=1 --gtest_fail_fast \
      --gtest_filter=-HostileScripts.SixteenMegabyteRequest >"$work/test.$shard.log" 2>&1) &
    pids+=($!)
  done
  for shard in 0 1 2 3; do wait "${pids[$shard]}" || rc=1; done
  return $rc
}

# Builds the folder's test programs and runs them; 0 when all pass.
run_tests() {
  local folder="$1" p targets
  targets=$(tests_for "$folder")
  # shellcheck disable=SC2086
  cmake --build "$build" --target $targets -j2 >"$work/build.log" 2>&1 || return 3
  for p in $(programs_of "$folder"); do
    run_program "$p" "${limit_of[$p]}" || return 1
  done
  return 0
}

# Each test program is timed once on the unchanged tree; a mutant's run may
# take three times as long before it counts as a hang.
echo "mutation-test: $count mutants; building the unchanged tree and timing its tests"
declare -A limit_of
for folder in "${folders[@]}"; do
  # shellcheck disable=SC2086
  cmake --build "$build" --target $(tests_for "$folder") -j2 >"$work/build.log" 2>&1 ||
    { echo "mutation-test: the unchanged tree does not build (see $work/build.log)"; exit 1; }
  for p in $(programs_of "$folder"); do
    [[ -n ${limit_of[$p]:-} ]] && continue
    start=$SECONDS
    run_program "$p" 3600 ||
      { echo "mutation-test: the unchanged tree fails $(basename "$p"); stop (see $work/test.*.log)"; exit 1; }
    limit_of[$p]=$(( (SECONDS - start) * 3 + 30 ))
    echo "mutation-test: $(basename "$p") takes $((SECONDS - start)) s"
  done
done

declare -A killed total
survivors=() equivalents=()
stillborn=0
i=0
while IFS=$'\t' read -r folder rel line kind old new reason; do
  i=$((i + 1))
  mutant_start=$SECONDS
  file="$src/$rel"
  cp "$file" "$work/original"
  python3 - "$file" "$line" "$new" <<'EOF'
import sys
path, n, new = sys.argv[1], int(sys.argv[2]), sys.argv[3]
lines = open(path, encoding='utf-8', errors='surrogateescape').read().split('\n')
indent = lines[n - 1][:len(lines[n - 1]) - len(lines[n - 1].lstrip())]
lines[n - 1] = indent + new
open(path, 'w', encoding='utf-8', errors='surrogateescape').write('\n'.join(lines))
EOF
  run_tests "$folder"
  status=$?
  cp "$work/original" "$file"
  touch "$file"
  case $status in
    3) stillborn=$((stillborn + 1)); verdict="stillborn" ;;
    0) if [[ -n $reason ]]; then
         verdict="equivalent"; equivalents+=("$rel:$line  $kind: $old  ->  $new"$'\n'"      ($reason)")
       else
         total[$folder]=$(( ${total[$folder]:-0} + 1 )); verdict="SURVIVED"
         survivors+=("$rel:$line  $kind: $old  ->  $new")
       fi ;;
    *) total[$folder]=$(( ${total[$folder]:-0} + 1 )); killed[$folder]=$(( ${killed[$folder]:-0} + 1 )); verdict="killed" ;;
  esac
  printf '[%d/%d] %-9s %s:%s %s\n' "$i" "$count" "$verdict" "$rel" "$line" "$kind"
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%ds\n' "$verdict" "$folder" "$rel" "$line" "$kind" "$old" "$new" \
    $((SECONDS - mutant_start)) >>"$log"
done <"$mutants"

echo
echo "mutation-test: kill rate per folder (stillborn mutants, which do not compile, and surviving"
echo "equivalent ones not counted)"
all_killed=0 all_total=0
for folder in "${folders[@]}"; do
  k=${killed[$folder]:-0} t=${total[$folder]:-0}
  all_killed=$((all_killed + k)) all_total=$((all_total + t))
  printf '  %-18s %3d / %3d\n' "$folder" "$k" "$t"
done
printf '  %-18s %3d / %3d' total "$all_killed" "$all_total"
[[ $all_total -gt 0 ]] && printf '  (%d %%)' $((all_killed * 100 / all_total))
printf ', %d stillborn, %d equivalent\n' "$stillborn" "${#equivalents[@]}"
if [[ ${#equivalents[@]} -gt 0 ]]; then
  echo "equivalent (changing no behaviour):"
  printf '  %s\n' "${equivalents[@]}"
fi
if [[ ${#survivors[@]} -gt 0 ]]; then
  echo "survivors:"
  printf '  %s\n' "${survivors[@]}"
fi
