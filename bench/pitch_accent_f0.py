#!/usr/bin/env python3
"""Is the pitch accent heard?  F0 tracked in the rendered WAV of a voice.

Each line of TEXT_FILE (UTF-8) is stripped of punctuation, so that its
spoken copy is kana only and mora i starts at i talk-speed units after the
lead-in; lines whose WAV length does not fit that are skipped.  The morae
and their factors come from `vokari-say --reading --pitch`; F0 is the
autocorrelation peak over the back part of each mora.  Neighbouring morae
whose factors differ by more than 3 % (a high and a low mora: the fall
across a sentence is smaller) count as a pair; the pair agrees when the
higher factor has the higher F0.  Pairs with an unvoiced mora are left out.

usage: pitch_accent_f0.py VOKARI_SAY VOICE_DIR TEXT_FILE [SPEED_MS]
"""
import audioop
import os
import re
import struct
import subprocess
import sys
import tempfile

RATE = 22050
LEAD_IN = 1000


def wav_samples(path):
    data = open(path, "rb").read()
    at = 12
    while at + 8 <= len(data):
        tag, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if tag == b"data":
            raw = audioop.ulaw2lin(data[at + 8:at + 8 + size], 2)
            return list(struct.unpack("<%dh" % (len(raw) // 2), raw))
        at += 8 + size + (size & 1)
    return []


def f0_of(samples, low=70.0, high=400.0):
    """F0 in Hz of a stretch at 22050 Hz between `low` and `high`, or None
    when it is not voiced."""
    x = samples[::2]   # 11025 Hz is plenty for a voice's F0
    mean = sum(x) / len(x)
    x = [v - mean for v in x]
    energy = sum(v * v for v in x)
    if energy <= 0:
        return None
    rate = RATE / 2
    lo, hi = int(rate / high), int(rate / low) + 1
    n = len(x) - hi
    if n < 64:
        return None
    best, best_lag, scores = 0.0, 0, {}
    for lag in range(lo, hi + 1):
        s = sum(x[i] * x[i + lag] for i in range(n))
        scores[lag] = s
        if s > best:
            best, best_lag = s, lag
    if best_lag == 0 or best < 0.4 * sum(v * v for v in x[:n]):
        return None
    a, b, c = scores.get(best_lag - 1, best), best, scores.get(best_lag + 1, best)
    shift = 0.5 * (a - c) / (a - 2 * b + c) if (a - 2 * b + c) != 0 else 0.0
    return rate / (best_lag + shift)


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    say, voice, text_file = sys.argv[1:4]
    speed = int(sys.argv[4]) if len(sys.argv) == 5 else 130
    unit = speed * RATE / 1000
    lines = [re.sub(r"[、。！？!?,.「」『』（）()\s]", "", l) for l in open(text_file, encoding="utf-8")]
    lines = [l for l in lines if l and not l.startswith("#")]
    agree = pairs = skipped = 0
    with tempfile.TemporaryDirectory() as work:
        wav = os.path.join(work, "line.wav")
        for line in lines:
            tokens = subprocess.run([say, "-m", voice, "--reading", "--pitch", line], capture_output=True,
                                    text=True).stdout.split()
            factors = [float(t.rsplit(":", 1)[1]) for t in tokens]
            subprocess.run([say, "-m", voice, "-n", "-W", "-o", wav, line], check=True, capture_output=True)
            samples = wav_samples(wav)
            if abs(len(samples) - (LEAD_IN + (len(factors) + 1) * unit)) > 2:
                skipped += 1
                continue
            stretches = [samples[int(LEAD_IN + (i + 0.3) * unit):int(LEAD_IN + (i + 0.95) * unit)]
                         for i in range(len(factors))]
            # A first pass finds the voice's own F0; the second looks only
            # within half an octave of it, where octave errors cannot land.
            rough = sorted(f for f in (f0_of(x) for x in stretches) if f is not None)
            if not rough:
                skipped += 1
                continue
            centre = rough[len(rough) // 2]
            f0 = [f0_of(x, centre / 1.4, centre * 1.4) for x in stretches]
            for i in range(len(factors) - 1):
                a, b = factors[i], factors[i + 1]
                if max(a, b) < min(a, b) * 1.03 or f0[i] is None or f0[i + 1] is None:
                    continue
                pairs += 1
                agree += (a > b) == (f0[i] > f0[i + 1])
    print(f"lines {len(lines)}, skipped {skipped}, high/low pairs {pairs}, "
          f"F0 agrees {agree} ({100.0 * agree / max(pairs, 1):.1f} %)")


if __name__ == "__main__":
    main()
