#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build/fuzz and runs each one for a bounded
# time on a fresh copy of its seed corpus from fuzz/corpus.  Fails on any
# finding: a crash, a sanitizer report, a failed check, a leak, or one input
# running longer than the per-input timeout.
#
#   scripts/fuzz-smoke.sh [seconds per harness]        (default 45)
#
# Eight harnesses at 45 s take six minutes of the test run; lower the time
# per harness here before dropping a harness if the run grows too long.
#
# Each harness works in build/fuzz/work/<harness>/: the grown corpus, the log,
# and on a finding the input that caused it (crash-*, timeout-*, leak-*...).
set -euo pipefail

seconds="${1:-45}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVOKARI_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vokari_fuzzers -j2

# The harnesses of the module, then those of the tools' readers (the
# voice-bank ones are built only where libsndfile and libsamplerate are).
harnesses=(fuzz_request fuzz_config_files fuzz_script fuzz_reading fuzz_reading_dictionary fuzz_translation_index fuzz_script_text fuzz_oto_ini
           fuzz_recording fuzz_bank_roundtrip)
declare -A dictionary=([fuzz_request]=script_tokens [fuzz_script]=script_tokens [fuzz_config_files]=config_tokens
                       [fuzz_reading]=script_tokens [fuzz_reading_dictionary]=config_tokens
                       [fuzz_script_text]=script_tokens [fuzz_oto_ini]=oto_tokens [fuzz_recording]=recording_tokens)

stat_of() { sed -n "s/^stat::$1: *//p" "$2" | tail -1; }

failed=0
for harness in "${harnesses[@]}"; do
    if [[ ! -x "$build/fuzz/$harness" ]]; then
        echo "$harness: not built (its libraries are missing)"
        continue
    fi
    work="$build/work/$harness"
    dict=()
    [[ -n "${dictionary[$harness]:-}" ]] && dict=(-dict="$root/fuzz/${dictionary[$harness]}.dict")
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/tmp"
    cp "$root/fuzz/corpus/$harness/"* "$work/corpus/"
    if TMPDIR="$work/tmp" "$build/fuzz/$harness" "$work/corpus" \
        -max_total_time="$seconds" -timeout=10 -max_len=8192 -rss_limit_mb=2048 \
        "${dict[@]}" -artifact_prefix="$work/" \
        -print_final_stats=1 >"$work/fuzz.log" 2>&1; then
        echo "$harness: $(stat_of number_of_executed_units "$work/fuzz.log") runs in ${seconds} s," \
             "$(stat_of average_exec_per_sec "$work/fuzz.log") exec/s," \
             "corpus $(find "$work/corpus" -type f | wc -l) inputs ($(stat_of new_units_added "$work/fuzz.log") new)"
    else
        failed=1
        echo "$harness: FINDING (log: $work/fuzz.log)"
        grep -E 'ERROR|SUMMARY|fuzz check failed|Test unit written' "$work/fuzz.log" | head -20 || true
    fi
done
exit "$failed"
