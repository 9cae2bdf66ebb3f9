#!/usr/bin/env python3
"""Writes the reference readings of the held-out technical text for the
reading step's accuracy test: lines of the Japanese Debian reference (Debian
package debian-reference-ja), read by Open JTalk (Debian packages open-jtalk,
open-jtalk-mecab-naist-jdic and the contrib voice hts-voice-nitech-jp-atr503-m001),
which serves as a test reference only.

    make-reading-references.py OUT.tsv [--lines N]

Each output line is "<line number in the text>\\t<morae>", the morae as
vokari-say --reading prints them: hiragana, one token per mora, a held vowel
as the vowel it holds.  The module and its tools never run Open JTalk.
"""
import argparse
import gzip
import re
import subprocess
import tempfile

TEXT = "/usr/share/debian-reference/debian-reference.ja.txt.gz"
DICTIONARY = "/var/lib/mecab/dic/open-jtalk/naist-jdic"
VOICE = "/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice"
KANJI = re.compile(r"[\u4e00-\u9fff]")
SMALL = set("ぁぃぅぇぉゃゅょゎ")
VOWEL_OF = {}
for row, vowel in (("あかがさざただなはばぱまやらわぁゃゎ", "あ"), ("いきぎしじちぢにひびぴみりゐぃ", "い"),
                   ("うくぐすずつづぬふぶぷむゆるぅゅゔ", "う"), ("えけげせぜてでねへべぺめれゑぇ", "え"),
                   ("おこごそぞとどのほぼぽもよろをぉょ", "お")):
    for kana in row:
        VOWEL_OF[kana] = vowel


def morae(katakana):
    """Katakana pronunciation to mora tokens, as the module counts them."""
    text = "".join(chr(ord(c) - 0x60) if "ァ" <= c <= "ヶ" and c not in "ヵヶヴ" else c for c in katakana)
    text = text.replace("ヵ", "か").replace("ヶ", "け").replace("ヴ", "ぶ")
    tokens, vowel = [], None
    for c in text:
        if c == "ー":
            if vowel:
                tokens.append(vowel)
            continue
        if not ("ぁ" <= c <= "ん"):
            continue
        if c in SMALL and tokens and tokens[-1] not in ("っ", "ん") and len(tokens[-1]) == 1:
            tokens[-1] += c
        else:
            tokens.append(c)
        vowel = VOWEL_OF.get(c, vowel)
    return tokens


def held_out_lines(count):
    chosen = []
    with gzip.open(TEXT, "rt", encoding="utf-8", newline="\n") as text:
        for number, line in enumerate(text, 1):
            line = line.strip()
            if number % 7 or not (12 <= len(line) <= 100) or not KANJI.search(line):
                continue
            if any(c in line for c in "\\@[]<>|$`"):
                continue
            try:
                line.encode("cp932")
            except UnicodeEncodeError:
                continue
            chosen.append((number, line))
            if len(chosen) == count:
                break
    return chosen


def open_jtalk_morae(line):
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt") as source, \
            tempfile.NamedTemporaryFile(suffix=".trace") as trace:
        source.write(line + "\n")
        source.flush()
        subprocess.run(["open_jtalk", "-x", DICTIONARY, "-m", VOICE, "-ot", trace.name, "-ow", "/dev/null",
                        source.name], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        analysis = open(trace.name, encoding="utf-8").read().split("[Text analysis result]")[1]
        analysis = analysis.split("[Output label]")[0]
    pronunciation = ""
    for row in analysis.strip().splitlines():
        fields = row.split(",")
        # Signs are silent, but for letters, which are said by their names.
        if len(fields) >= 10 and (fields[1] != "記号" or fields[2] == "アルファベット"):
            pronunciation += fields[9].replace("’", "")
    return morae(pronunciation)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--lines", type=int, default=300)
    args = parser.parse_args()
    with open(args.out, "w", encoding="utf-8", newline="\n") as out:
        out.write("# Held-out lines of %s (by line number) and Open JTalk's reading of them.\n" % TEXT)
        for number, line in held_out_lines(args.lines):
            out.write("%d\t%s\n" % (number, " ".join(open_jtalk_morae(line))))


if __name__ == "__main__":
    main()
