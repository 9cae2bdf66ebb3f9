#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them, then prints one table with the
# medians, the ratios between them and the performance targets.
#
#   bash scripts/bench.sh [repetitions]
#
# Environment: BUILD_DIR (default build/bench), VOKARI_BENCH_VOICE (a voice
# folder to use instead of voices/default), BENCH_REALTIME=1 (run each program
# under the real-time scheduler, `chrt -f 1`, as root: on a machine shared with
# other work the wall times then show the module rather than the queue for a
# processor).  Every program runs
# `repetitions` times (default 5) and is reported by its median; the JSON of
# each program is kept in $BUILD_DIR/bench-results/.  The machine should be
# otherwise idle: real (wall) time is what the host sees, CPU time is shown
# beside it to tell the module's own cost from waiting for a busy processor.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build/bench}"
repetitions="${1:-5}"
results="$build/bench-results"

say() { printf 'bench.sh: %s\n' "$*" >&2; }

for tool in cmake python3; do
  command -v "$tool" >/dev/null || { say "$tool is needed"; exit 1; }
done
[[ -f /usr/include/benchmark/benchmark.h ]] || say "Google Benchmark headers not found (apt-get install libbenchmark-dev)"
command -v espeak-ng >/dev/null || say "espeak-ng not found: the peer figures will be missing (apt-get install espeak-ng libespeak-ng-dev)"

# The programs, in the order they run: the floor first, the peer last.
programs=(bench_output_floor bench_render bench_request bench_load bench_peak_memory bench_translation bench_espeak)
available=()
for program in "${programs[@]}"; do
  [[ -f $root/bench/$program.cpp ]] && available+=("$program")
done

mkdir -p "$build"
# Configure every time, so that benchmark programs added since are found.
options=()
[[ -f $build/CMakeCache.txt ]] || options=(-DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF)
say "configuring $build ..."
cmake -S "$root" -B "$build" "${options[@]}" >"$build/bench-configure.log" 2>&1 ||
  { cat "$build/bench-configure.log" >&2; exit 1; }
say "building ${available[*]} ..."
cmake --build "$build" -j2 --target "${available[@]}" >"$build/bench-build.log" 2>&1 ||
  { tail -40 "$build/bench-build.log" >&2; exit 1; }

launcher=()
if [[ ${BENCH_REALTIME:-0} == 1 ]]; then
  if command -v chrt >/dev/null && chrt -f 1 true 2>/dev/null; then
    launcher=(chrt -f 1)
  else
    say "BENCH_REALTIME=1 needs chrt and the right to use it (root); running at normal priority"
  fi
fi

rm -rf "$results"
mkdir -p "$results"
for program in "${available[@]}"; do
  binary="$build/bench/$program"
  [[ -x $binary ]] || { say "$program was not built (see $build/bench-build.log)"; continue; }
  say "running $program ($repetitions repetitions) ..."
  "${launcher[@]}" "$binary" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$program.json" --benchmark_out_format=json >"$results/$program.log" 2>&1 ||
    { tail -20 "$results/$program.log" >&2; say "$program failed"; }
done

scheduler="normal priority"
[[ ${#launcher[@]} -gt 0 ]] && scheduler="real-time scheduler (${launcher[*]})"

python3 - "$results" "$scheduler" <<'PY'
import glob, json, os, sys

results, scheduler = sys.argv[1], sys.argv[2]
rows = {}        # run name -> median entry
context = None
loads = []       # one-minute load average as each program started
for path in sorted(glob.glob(os.path.join(results, "*.json"))):
    with open(path) as f:
        data = json.load(f)
    context = context or data.get("context", {})
    loads.extend(data.get("context", {}).get("load_avg", [])[:1])
    for entry in data["benchmarks"]:
        # A single repetition has no aggregates: its one run stands for itself.
        if entry.get("aggregate_name") == "median" or entry.get("run_type") == "iteration":
            if entry.get("error_occurred"):
                print(f"{entry['run_name']}: {entry.get('error_message')}", file=sys.stderr)
                continue
            rows[entry["run_name"]] = entry

SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}

def seconds(entry, which="real_time"):
    return entry[which] * SCALE[entry["time_unit"]]

def find(prefix):
    for name, entry in rows.items():
        if name.startswith(prefix):
            return entry
    return None

def fmt_time(s):
    if s is None:
        return "-"
    if s >= 1e-3:
        return f"{s * 1e3:.3f} ms"
    return f"{s * 1e6:.2f} us"

print()
if context:
    print(f"Host: {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz; one-minute load average "
          f"{min(loads):.2f} to {max(loads):.2f} as the programs started" if loads else "")
print(f"Programs run at {scheduler}.  Medians of each benchmark's repetitions.")
print("real = wall time, cpu = this process's CPU time.")
print()
print(f"{'benchmark':58} {'real':>12} {'cpu':>12}  figures")
print("-" * 110)
for name, entry in rows.items():
    extra = []
    for key in ("audio_s", "x_realtime", "items_per_second", "bytes_per_second", "sample_bytes",
                "image_bytes", "first_extra", "steady_extra", "retained_extra"):
        if key in entry:
            value = entry[key]
            if key == "items_per_second":
                extra.append(f"{value / 1e6:.1f} M samples/s ({1e9 / value:.2f} ns/sample)")
            elif key == "bytes_per_second":
                extra.append(f"{value / 1e6:.1f} MB/s")
            elif key == "x_realtime":
                extra.append(f"{value:,.0f}x real time")
            elif key == "audio_s":
                extra.append(f"{value:.2f} s of speech")
            else:
                extra.append(f"{key}={value:,.0f}")
    print(f"{name.replace('/real_time', ''):58} {fmt_time(seconds(entry)):>12} {fmt_time(seconds(entry, 'cpu_time')):>12}  {'; '.join(extra)}")

print()
print("Targets")
print("-" * 110)

def verdict(ok):
    return "met" if ok else "MISSED"

def per_audio_second(entry, which):
    return seconds(entry, which) / entry["audio_s"] if entry and entry.get("audio_s") else None

cap = find("BM_RequestCapScript")
peer = find("BM_EspeakInProcess/cap_script")
peer_process = find("BM_EspeakProcess/cap_script")
if cap and peer:
    for which, label in (("real_time", "real"), ("cpu_time", "cpu")):
        ours, theirs = per_audio_second(cap, which), per_audio_second(peer, which)
        ratio = theirs / ours
        print(f"cap script, per second of speech ({label}): vokari {ours * 1e6:.1f} us, espeak-ng in process "
              f"{theirs * 1e6:.1f} us -> {ratio:.1f}x faster (target >= 3x): {verdict(ratio >= 3)}")
    if peer_process:
        ratio = per_audio_second(peer_process, "real_time") / per_audio_second(cap, "real_time")
        print(f"cap script against the espeak-ng process (real): {ratio:.1f}x faster")
    print(f"cap script: {cap['audio_s']:.2f} s of speech in {fmt_time(seconds(cap))} "
          f"({cap['x_realtime']:,.0f}x real time)")

floor = find("BM_OutputFloor")
four = find("BM_RenderHeldVoices/4")
if floor and four:
    for which, label in (("real_time", "real"), ("cpu_time", "cpu")):
        ratio = seconds(four, which) / seconds(floor, which)
        print(f"render, 4 voices against the floor ({label}): {fmt_time(seconds(four, which))} / "
              f"{fmt_time(seconds(floor, which))} = {ratio:.1f}x (target <= 20x): {verdict(ratio <= 20)}")

line = find("BM_RequestTypicalLine")
if line:
    for which, label in (("real_time", "real"), ("cpu_time", "cpu")):
        s = seconds(line, which)
        print(f"typical 40-character line ({label}): {fmt_time(s)} (target < 1 ms): {verdict(s < 1e-3)}")

# BM_ApplyTranslation/<script bytes>, from the translation benchmarks.
sizes = sorted((int(name.split("/")[1]), name, entry) for name, entry in rows.items()
               if name.startswith("BM_ApplyTranslation/"))
if sizes:
    for size, name, entry in sizes:
        real, cpu = seconds(entry), seconds(entry, "cpu_time")
        print(f"apply_translation, {size:,} bytes: real {fmt_time(real)}, cpu {fmt_time(cpu)} "
              f"({cpu / size * 1e9:.1f} ns/byte cpu)" +
              (f" (target < 5 ms): real {verdict(real < 5e-3)}, cpu {verdict(cpu < 5e-3)}" if size == 65536 else ""))
    if len(sizes) >= 2:
        (small, _, a), (large, _, b) = sizes[0], sizes[-1]
        for which, label in (("real_time", "real"), ("cpu_time", "cpu")):
            growth = (seconds(b, which) / seconds(a, which)) / (large / small)
            print(f"apply_translation time per byte, {large:,} against {small:,} bytes ({label}): x{growth:.2f} "
                  f"(1.00 = linear, within 1.5 counted as linear): {verdict(growth < 1.5)}")

memory = find("BM_CapRequestPeakMemory")
if memory:
    extra = max(memory["first_extra"], memory["steady_extra"])
    print(f"peak heap of the cap request: WavImage {memory['image_bytes']:,.0f} bytes + "
          f"{memory['first_extra']:,.0f} bytes (first request) / {memory['steady_extra']:,.0f} bytes (later ones) "
          f"(target < 1 MB beside the image): {verdict(extra < 1 << 20)}")
PY
