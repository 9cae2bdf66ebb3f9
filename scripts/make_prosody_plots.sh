#!/usr/bin/env bash
# Draws what the prosody model changes, for three lines of
# docs/prosody_sentences.tsv: the spectrogram of the bundled voice without the
# model (before) and with it (after), and one F0 plot per line holding both and
# the trained voice's own rendering by open_jtalk (the reference), in
# docs/prosody/.  Needs cmake, a C++ compiler, sox, aubio-tools, python3,
# open-jtalk, open-jtalk-mecab-naist-jdic and the m001 HTS voice package.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-voice-demo}"
out="$root/docs/prosody"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target vokari vokari-say >/dev/null
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The two voices differ only in the model's key.
for state in before after; do
  cp -a "$root/voices/default" "$work/$state"
  grep -v '^voice\.prosody\.' "$root/voices/default/vokari.txt" >"$work/$state/vokari.txt"
done
printf 'voice.prosody.model,nitech_jp_atr503_m001.htsvoice\n' >>"$work/after/vokari.txt"

grep -v '^#' "$root/docs/prosody_sentences.tsv" | cut -f1 | head -3 >"$work/lines.txt"
n=0
while IFS= read -r line; do
  n=$((n + 1))
  for state in before after; do
    "$build/vokari-say" --module-dir "$work/$state" --no-play --no-wait --output "$work/$n-$state.wav" -- "$line" >/dev/null
    sox "$work/$n-$state.wav" -n spectrogram -x 600 -y 129 -z 70 -t "line $n, $state" -o "$out/line$n-$state.png"
  done
  printf '%s' "$line" | open_jtalk -x /var/lib/mecab/dic/open-jtalk/naist-jdic \
    -m /usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice -ow "$work/$n-reference.wav"
  for state in before after reference; do
    aubiopitch -i "$work/$n-$state.wav" -r 22050 -B 1024 -H 220 -p yinfft -l 0.25 -s -45 >"$work/$n-$state.f0"
  done
  python3 - "$work" "$n" "$line" "$out/line$n-f0.svg" <<'EOF'
import sys
work, n, line, target = sys.argv[1:]
colours = {"before": "#999999", "after": "#1f5fbf", "reference": "#c0392b"}
names = {"before": "without the model", "after": "with the model", "reference": "the trained voice (open_jtalk)"}
tracks = {}
for state in colours:
    points = []
    for row in open(f"{work}/{n}-{state}.f0"):
        t, f = (float(v) for v in row.split())
        points.append((t, f if 60 <= f <= 600 else None))
    tracks[state] = points
end = max(p[-1][0] for p in tracks.values() if p)
width, height, left, top, bottom = 900, 320, 50, 30, 280
x = lambda t: left + (width - left - 10) * t / end
y = lambda f: bottom - (bottom - top) * (f - 60) / (400 - 60)
svg = [f"<svg xmlns='http://www.w3.org/2000/svg' width='{width}' height='{height}' font-family='sans-serif' font-size='12'>",
       "<rect width='100%' height='100%' fill='#fff'/>",
       f"<text x='{left}' y='18' font-size='14'>line {n}: F0 in Hz against seconds</text>"]
for f in (100, 200, 300, 400):
    svg.append(f"<line x1='{left}' x2='{width - 10}' y1='{y(f):.1f}' y2='{y(f):.1f}' stroke='#eee'/>"
               f"<text x='{left - 6}' y='{y(f) + 4:.1f}' text-anchor='end'>{f}</text>")
for state, points in tracks.items():
    run = []
    for t, f in points + [(0, None)]:
        if f is None:
            if len(run) > 1:
                svg.append(f"<polyline fill='none' stroke='{colours[state]}' stroke-width='1.5' points='" +
                           " ".join(f"{x(a):.1f},{y(b):.1f}" for a, b in run) + "'/>")
            run = []
        else:
            run.append((t, f))
legend = left
for state in colours:
    svg.append(f"<text x='{legend}' y='{height - 12}' fill='{colours[state]}'>{names[state]}</text>")
    legend += 250
svg.append("</svg>")
open(target, "w").write("\n".join(svg) + "\n")
EOF
  printf 'line %d: %s\n' "$n" "$line"
done <"$work/lines.txt"
