#!/usr/bin/env python3
"""Compiles the analyser dictionary of the reading step from the NAIST-jdic
sources in Debian's open-jtalk source package, pruned to fit a voice folder.

    make_reading_frontend_dictionary.py SOURCE_TREE OUT_DIR [--dict-index PROGRAM]

SOURCE_TREE is the unpacked open-jtalk tree (scripts/fetch-frontend-source.sh).
OUT_DIR receives sys.dic, unk.dic, matrix.bin, char.bin and dicrc in
Shift_JIS, the licence as LICENSE, and "checksums": one line per file with
its size and 64-bit sum, which the module checks before MeCab sees a byte
(MeCab ends the process on a malformed file).  The same sources always give
the same bytes.

Pruning, chosen by measuring the reading of the test lines against size:
of the supplementary spoken-word list only its words in Latin letters stay
(file, root); organisation names go; names of people keep up to two
characters and other proper nouns up to three; conjugated forms of written
or dialect style go, but for auxiliaries, helper verbs and する and 来る; an
entry keeps at most six characters (words in Latin letters up to twelve,
words in katakana up to ten, proper nouns among them).  Everyday words are
short; long compounds are read from their parts.  Against the whole
dictionary, on 20,440 lines of the system's Japanese messages that no choice
here was measured on, the pruned one reads 12 lines otherwise (154 before
katakana words and the closed classes' forms were kept).

Two connection costs are moved toward speech (see CONNECTION_CHANGES): the
dictionary's costs come from written text, where a clause seldom ends in the
te-form, and they let a one-kanji noun with the particle って win over a
verb's te-form (言って。 read げんって, 笑って。 わらいって).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

# Small files first: a damaged one is refused before the big ones are summed.
RUNTIME_FILES = ["dicrc", "char.bin", "unk.dic", "matrix.bin", "sys.dic"]
MASK = (1 << 64) - 1

DICRC = """cost-factor = 800
bos-feature = BOS/EOS,*,*,*,*,*,*,*,*
eval-size = 8
unk-eval-size = 4
config-charset = SHIFT-JIS
"""


# Conjugated forms of written or dialect style that scripts hardly use.
RARE_FORMS = {"仮定縮約１", "仮定縮約２", "体言接続特殊", "体言接続特殊２", "命令ｙｏ", "文語基本形", "基本形-促音便"}


LATIN = re.compile(r"^[Ａ-Ｚａ-ｚ]+$")
KATAKANA = re.compile(r"^[ァ-ヶー・]+$")

# Conjugation types of the closed classes: する and 来る, whose every form
# stays (作成すべき needs the old form す, 注意せよ the imperative せよ).
CLOSED_CONJUGATIONS = ("サ変・スル", "カ変・クル", "カ変・来ル")

# Connection costs changed for speech, each pair of ids named by an entry
# (surface, part of speech) on either side:
# - the te-form particle before 。 costs what it costs before the end of the
#   text: requests end in it (待って。 言って。);
# - a common noun straight before the sentence-final って costs 1500 more, so
#   that a verb's te-form wins where both read (言って, 会って); where only
#   the noun reads (猫って) nothing changes.
TE = ("て", "助詞,接続助詞")
FULL_STOP = ("。", "記号,句点")
NOUN = ("猫", "名詞,一般")
FINAL_TTE = ("って", "助詞,終助詞")
BOS_EOS = 0


def entry_ids(csv_path, wanted):
    """{(surface, pos): (left id, right id)} for the entries in `wanted`."""
    ids = {}
    with open(csv_path, encoding="utf-8") as src:
        for line in src:
            fields = line.split(",")
            key = (fields[0], ",".join(fields[4:6]))
            if key in wanted and key not in ids:
                ids[key] = (int(fields[1]), int(fields[2]))
    missing = set(wanted) - set(ids)
    if missing:
        sys.exit("make_reading_frontend_dictionary: no entry for %s" % sorted(missing))
    return ids


def write_matrix(source, target, ids):
    te_right = ids[TE][1]
    stop_left = ids[FULL_STOP][0]
    noun_right, tte_left = ids[NOUN][1], ids[FINAL_TTE][0]
    with open(source, encoding="ascii") as src:
        header = src.readline()
        rows = [tuple(int(n) for n in row.split()) for row in src]
    cost = {(right, left): c for right, left, c in rows
            if (right, left) in ((te_right, BOS_EOS), (noun_right, tte_left))}
    changed = {(te_right, stop_left): cost[(te_right, BOS_EOS)],
               (noun_right, tte_left): cost[(noun_right, tte_left)] + 1500}
    with open(target, "w", encoding="ascii", newline="\n") as dst:
        dst.write(header)
        for right, left, c in rows:
            dst.write("%d %d %d\n" % (right, left, changed.get((right, left), c)))


def keep_entry(line):
    fields = line.split(",")
    if len(fields) < 13:
        return False
    surface, pos, conjugation, form = fields[0], fields[4:7], fields[8], fields[9]
    # Names written in Latin letters (PAM, Wikipedia) are said as words.
    if LATIN.match(surface):
        return len(surface) <= 12
    # A word in katakana says its own kana; without its entry the analyser
    # cuts it into signs and fillers that drop or change sounds (ノルウェー
    # read as ルウェー, アラビア語 as アラ|ビ|ア|語 with 語 read かたり).
    if KATAKANA.match(surface):
        return len(surface) <= 10
    if pos[1] == "固有名詞" and (pos[2] == "組織" or len(surface) > (2 if pos[2] == "人名" else 3)):
        return False
    # Auxiliaries, helper verbs and adjectives, する and 来る keep their
    # contracted and old forms: speech uses them (行かなきゃ, 作成すべき).
    closed = pos[0] == "助動詞" or pos[1] == "非自立" or conjugation in CLOSED_CONJUGATIONS
    if form in RARE_FORMS and not closed:
        return False
    return len(surface) <= 6


def file_sum(path):
    """The module's check sum (reading/dictionary_files.cpp): 8-byte
    little-endian words, a zero-padded tail, mixed into the file size."""
    data = open(path, "rb").read()
    h = (0x9E3779B97F4A7C15 ^ len(data)) & MASK
    padded = data + b"\0" * (-len(data) % 8)
    words = memoryview(padded).cast("Q")
    for w in words:
        h = ((h ^ w) * 0x100000001B3) & MASK
        h ^= h >> 29
    return h


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("out")
    parser.add_argument("--dict-index", default="/usr/lib/mecab/mecab-dict-index")
    args = parser.parse_args()
    if sys.byteorder != "little":
        sys.exit("make_reading_frontend_dictionary: a little-endian machine is needed")

    jdic = os.path.join(args.source, "mecab-naist-jdic")
    with tempfile.TemporaryDirectory() as work:
        for name in ["char.def", "unk.def", "feature.def"]:
            shutil.copyfile(os.path.join(jdic, name), os.path.join(work, name))
        ids = entry_ids(os.path.join(jdic, "naist-jdic.csv"), [TE, FULL_STOP, NOUN, FINAL_TTE])
        write_matrix(os.path.join(jdic, "matrix.def"), os.path.join(work, "matrix.def"), ids)
        for name in ["left-id", "right-id", "pos-id", "rewrite"]:
            shutil.copyfile(os.path.join(jdic, "_" + name + ".def"), os.path.join(work, name + ".def"))
        with open(os.path.join(work, "dicrc"), "w", encoding="ascii") as rc:
            rc.write(DICRC.replace("SHIFT-JIS", "UTF-8"))
        kept = 0
        with open(os.path.join(jdic, "naist-jdic.csv"), encoding="utf-8") as src, \
                open(os.path.join(work, "naist-jdic.csv"), "w", encoding="utf-8") as dst:
            for line in src:
                if keep_entry(line):
                    dst.write(line)
                    kept += 1
        # Of the spoken-word list only the words in Latin letters (file, root).
        with open(os.path.join(jdic, "unidic-csj.csv"), encoding="utf-8") as src, \
                open(os.path.join(work, "unidic-csj.csv"), "w", encoding="utf-8") as dst:
            for line in src:
                if LATIN.match(line.split(",", 1)[0]) and keep_entry(line):
                    dst.write(line)
                    kept += 1
        os.makedirs(args.out, exist_ok=True)
        subprocess.run([args.dict_index, "-d", work, "-o", args.out, "-f", "UTF-8", "-t", "SHIFT_JIS"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(os.path.join(args.out, "dicrc"), "w", encoding="ascii", newline="\n") as rc:
        rc.write(DICRC)
    shutil.copyfile(os.path.join(jdic, "COPYING"), os.path.join(args.out, "LICENSE"))
    with open(os.path.join(args.out, "checksums"), "w", encoding="ascii", newline="\n") as sums:
        for name in RUNTIME_FILES:
            path = os.path.join(args.out, name)
            sums.write("%s %d %016x\n" % (name, os.path.getsize(path), file_sum(path)))
    print("make_reading_frontend_dictionary: %d entries into %s" % (kept, args.out))


if __name__ == "__main__":
    main()
