# Compares the decoding table printed by shift_jis_table (on standard input)
# with code page 932 as Microsoft publishes it (Python's cp932 codec), where
# 0x80, 0xA0 and 0xFD-0xFF, which the codec passes through, lead nothing.
# Then the encodings of the characters with a JIS and a Windows Unicode form:
# both forms take the bytes of the Windows one.
import sys

TWO_FORMS = {0x301C: 0xFF5E, 0x2212: 0xFF0D, 0x2016: 0x2225, 0x00A2: 0xFFE0, 0x00A3: 0xFFE1, 0x00AC: 0xFFE2}
expected_encodings = {}
for jis, windows in TWO_FORMS.items():
    for code_point in (jis, windows):
        expected_encodings[f"U+{code_point:04X}"] = chr(windows).encode("cp932").hex().upper()

expected = {}
for lead in range(256):
    pairs = [bytes([lead])]
    if 0x81 <= lead <= 0x9F or 0xE0 <= lead <= 0xFC:
        pairs += [bytes([lead, trail]) for trail in range(256)]
    for sequence in pairs:
        if len(sequence) == 1 and (lead == 0x80 or lead == 0xA0 or lead >= 0xFD):
            text = "-"
        else:
            try:
                text = sequence.decode("cp932").encode("utf-8").hex()
            except UnicodeDecodeError:
                text = "-"
        expected[sequence.hex().upper()] = text

seen = 0
wrong = []
encoded = {}
for line in sys.stdin:
    parts = line.split()
    if len(parts) == 2 and parts[0] in expected_encodings:
        encoded[parts[0]] = parts[1]
        continue
    if len(parts) != 2 or parts[0] not in expected:
        continue
    seen += 1
    if parts[1] != expected[parts[0]]:
        wrong.append(f"{parts[0]}: decoded {parts[1]}, code page 932 says {expected[parts[0]]}")
for character, bytes_hex in expected_encodings.items():
    if encoded.get(character) != bytes_hex:
        wrong.append(f"{character}: encoded {encoded.get(character, 'nothing')}, code page 932 bytes {bytes_hex}")
if seen != len(expected):
    sys.exit(f"check_shift_jis_table: {seen} of {len(expected)} sequences printed")
if wrong:
    sys.exit("check_shift_jis_table: " + str(len(wrong)) + " differ, for example\n  " + "\n  ".join(wrong[:10]))
print(f"check_shift_jis_table: OK, {seen} sequences, {len(encoded)} characters encoded")
