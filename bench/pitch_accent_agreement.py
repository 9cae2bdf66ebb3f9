#!/usr/bin/env python3
"""Agreement of the module's pitch accent with Open JTalk's labels.

For every line of a text file (UTF-8, one script per line) the module's
morae and pitch factors come from `vokari-say --reading --pitch --each-line`,
and the reference from `open_jtalk -ot` (the program and its voice are a
test reference only).  Within each of the reference's accent phrases a mora
of the module counts as high when its factor lies above the middle of the
phrase's range, in phrases whose pitch moves by more than 1 %; the reference
mora is high by its phrase's accent type (/F:) and its place (/A:).  Lines
whose mora counts differ are skipped and counted.

usage: pitch_accent_agreement.py VOKARI_SAY VOICE_DIR TEXT_FILE
       pitch_accent_agreement.py --write-reference TEXT_FILE OUT_TSV
(the second form writes the reference's phrases, "LHH HLL ...", after each
line and a tab: the test data of the accent's agreement test)
exits 77 when open_jtalk or its voice is missing.
"""
import os
import re
import subprocess
import sys
import tempfile

OJT_DIC = "/var/lib/mecab/dic/open-jtalk/naist-jdic"
OJT_VOICE = "/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice"


def high_by_rule(index, accent):
    if accent == 1:
        return index == 0
    if index == 0:
        return False
    return accent == 0 or index < accent


def reference_phrases(line, workdir):
    """The reference's accent phrases of `line`: a list of lists of booleans."""
    text = os.path.join(workdir, "line.txt")
    labels = os.path.join(workdir, "labels.txt")
    with open(text, "w", encoding="utf-8") as f:
        f.write(line + "\n")
    subprocess.run(["open_jtalk", "-x", OJT_DIC, "-m", OJT_VOICE, "-ot", labels, "-ow", os.devnull, text],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    phrases, last = [], None
    with open(labels, encoding="utf-8") as f:
        in_labels = False
        for row in f:
            if row.startswith("[Output label]"):
                in_labels = True
                continue
            if in_labels and row.startswith("["):
                break
            if not in_labels or not row.strip():
                continue
            label = row.split()[-1]
            current = re.match(r"[^^]+\^[^-]+-([^+]+)\+", label)
            if not current:
                continue
            phoneme = current.group(1)
            if phoneme in ("sil", "pau"):
                last = None
                continue
            a = re.search(r"/A:(-?\d+)\+(\d+)\+(\d+)/", label)
            fld = re.search(r"/F:(\d+)_(\d+)#", label)
            if not a or not fld:
                continue
            place, accent = int(a.group(2)), int(fld.group(2))
            key = (place, int(a.group(3)))
            if key == last:
                continue
            if place == 1 or not phrases:
                phrases.append([])
            phrases[-1].append(high_by_rule(place - 1, accent))
            last = key
    return phrases


def write_reference(text_file, out_file):
    lines = [l.strip() for l in open(text_file, encoding="utf-8") if l.strip() and not l.startswith("#")]
    with tempfile.TemporaryDirectory() as workdir, open(out_file, "w", encoding="utf-8") as out:
        out.write("# Open JTalk's accent phrases of each line: one token per phrase, H or L per mora.\n")
        for line in lines:
            phrases = reference_phrases(line, workdir)
            out.write(line + "\t" + " ".join("".join("H" if h else "L" for h in p) for p in phrases) + "\n")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    if not (os.path.exists(OJT_VOICE) and subprocess.run(["which", "open_jtalk"], capture_output=True).returncode == 0):
        print("open_jtalk or its voice is missing: skipped")
        sys.exit(77)
    if sys.argv[1] == "--write-reference":
        write_reference(sys.argv[2], sys.argv[3])
        return
    say, voice, text_file = sys.argv[1:]
    lines = [l.strip() for l in open(text_file, encoding="utf-8") if l.strip() and not l.startswith("#")]
    out = subprocess.run([say, "-m", voice, "--reading", "--pitch", "--each-line", "-f", text_file],
                         check=True, capture_output=True, text=True).stdout.splitlines()
    agree = total = skipped = flat_phrases = 0
    with tempfile.TemporaryDirectory() as workdir:
        for line, ours in zip(lines, out):
            factors = [float(tok.rsplit(":", 1)[1]) for tok in ours.split()]
            phrases = reference_phrases(line, workdir)
            if sum(len(p) for p in phrases) != len(factors):
                skipped += 1
                continue
            at = 0
            for phrase in phrases:
                mine = factors[at:at + len(phrase)]
                at += len(phrase)
                lo, hi = min(mine), max(mine)
                if hi <= lo * 1.01:
                    # Not counted, as defined; reported when the reference moves.
                    if any(phrase) and not all(phrase):
                        flat_phrases += 1
                    continue
                middle = (lo + hi) / 2
                for factor, high in zip(mine, phrase):
                    total += 1
                    agree += (factor > middle) == high
    print(f"lines {len(lines)}, skipped (mora counts differ) {skipped}, morae {total}, "
          f"agree {agree} ({100.0 * agree / max(total, 1):.2f} %), flat phrases where the reference moves {flat_phrases}")


if __name__ == "__main__":
    main()
