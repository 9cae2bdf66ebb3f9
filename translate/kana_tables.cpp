// The three kana tables and the long-vowel marks, as Shift_JIS bytes.
#include "translate/kana_tables.h"

#include "translate/kana_index.h"

namespace vokari {

namespace {

// The tables stay aligned five slots to a row, so a slot number can be read off a line.
// clang-format off
constexpr const char* kHiraganaStrings[kSlotCount] = {
    "\x82\xa0", "\x82\xa2", "\x82\xa4", "\x82\xa6", "\x82\xa8",  // 0: a i u e o
    "\x82\xa9", "\x82\xab", "\x82\xad", "\x82\xaf", "\x82\xb1",  // 5: ka ki ku ke ko
    "\x82\xb3", "\x82\xb5", "\x82\xb7", "\x82\xb9", "\x82\xbb",  // 10: sa shi su se so
    "\x82\xbd", "\x82\xbf", "\x82\xc2", "\x82\xc4", "\x82\xc6",  // 15: ta chi tsu te to
    "\x82\xc8", "\x82\xc9", "\x82\xca", "\x82\xcb", "\x82\xcc",  // 20: na ni nu ne no
    "\x82\xcd", "\x82\xd0", "\x82\xd3", "\x82\xd6", "\x82\xd9",  // 25: ha hi fu he ho
    "\x82\xdc", "\x82\xdd", "\x82\xde", "\x82\xdf", "\x82\xe0",  // 30: ma mi mu me mo
    "\x82\xe2", "\x82\xe4", "\x82\xe6",  // 35: ya yu yo
    "\x82\xe7", "\x82\xe8", "\x82\xe9", "\x82\xea", "\x82\xeb",  // 38: ra ri ru re ro
    "\x82\xed", "\x82\xf0",  // 43: wa wo
    "\x82\xf1",  // 45: n
    "\x82\xaa", "\x82\xac", "\x82\xae", "\x82\xb0", "\x82\xb2",  // 46: ga gi gu ge go
    "\x82\xb4", "\x82\xb6", "\x82\xb8", "\x82\xba", "\x82\xbc",  // 51: za ji zu ze zo
    "\x82\xbe", "\x82\xc0", "\x82\xc3", "\x82\xc5", "\x82\xc7",  // 56: da dji dzu de do
    "\x82\xce", "\x82\xd1", "\x82\xd4", "\x82\xd7", "\x82\xda",  // 61: ba bi bu be bo
    "\x82\xcf", "\x82\xd2", "\x82\xd5", "\x82\xd8", "\x82\xdb",  // 66: pa pi pu pe po
    "\x82\xab\x82\xe1", "\x82\xab\x82\xe3", "\x82\xab\x82\xe5",  // 71: kya kyu kyo
    "\x82\xb5\x82\xe1", "\x82\xb5\x82\xe3", "\x82\xb5\x82\xe5",  // 74: sha shu sho
    "\x82\xbf\x82\xe1", "\x82\xbf\x82\xe3", "\x82\xbf\x82\xe5",  // 77: cha chu cho
    "\x82\xc9\x82\xe1", "\x82\xc9\x82\xe3", "\x82\xc9\x82\xe5",  // 80: nya nyu nyo
    "\x82\xd0\x82\xe1", "\x82\xd0\x82\xe3", "\x82\xd0\x82\xe5",  // 83: hya hyu hyo
    "\x82\xdd\x82\xe1", "\x82\xdd\x82\xe3", "\x82\xdd\x82\xe5",  // 86: mya myu myo
    "\x82\xe8\x82\xe1", "\x82\xe8\x82\xe3", "\x82\xe8\x82\xe5",  // 89: rya ryu ryo
    "\x82\xac\x82\xe1", "\x82\xac\x82\xe3", "\x82\xac\x82\xe5",  // 92: gya gyu gyo
    "\x82\xb6\x82\xe1", "\x82\xb6\x82\xe3", "\x82\xb6\x82\xe5",  // 95: ja ju jo
    "\x82\xc0\x82\xe1", "\x82\xc0\x82\xe3", "\x82\xc0\x82\xe5",  // 98: dja dju djo
    "\x82\xd1\x82\xe1", "\x82\xd1\x82\xe3", "\x82\xd1\x82\xe5",  // 101: bya byu byo
    "\x82\xd2\x82\xe1", "\x82\xd2\x82\xe3", "\x82\xd2\x82\xe5",  // 104: pya pyu pyo
};

constexpr const char* kKatakanaStrings[kSlotCount] = {
    "\x83\x41", "\x83\x43", "\x83\x45", "\x83\x47", "\x83\x49",  // 0: a i u e o
    "\x83\x4a", "\x83\x4c", "\x83\x4e", "\x83\x50", "\x83\x52",  // 5: ka ki ku ke ko
    "\x83\x54", "\x83\x56", "\x83\x58", "\x83\x5a", "\x83\x5c",  // 10: sa shi su se so
    "\x83\x5e", "\x83\x60", "\x83\x63", "\x83\x65", "\x83\x67",  // 15: ta chi tsu te to
    "\x83\x69", "\x83\x6a", "\x83\x6b", "\x83\x6c", "\x83\x6d",  // 20: na ni nu ne no
    "\x83\x6e", "\x83\x71", "\x83\x74", "\x83\x77", "\x83\x7a",  // 25: ha hi fu he ho
    "\x83\x7d", "\x83\x7e", "\x83\x80", "\x83\x81", "\x83\x82",  // 30: ma mi mu me mo
    "\x83\x84", "\x83\x86", "\x83\x88",  // 35: ya yu yo
    "\x83\x89", "\x83\x8a", "\x83\x8b", "\x83\x8c", "\x83\x8d",  // 38: ra ri ru re ro
    "\x83\x8f", "\x83\x92",  // 43: wa wo
    "\x83\x93",  // 45: n
    "\x83\x4b", "\x83\x4d", "\x83\x4f", "\x83\x51", "\x83\x53",  // 46: ga gi gu ge go
    "\x83\x55", "\x83\x57", "\x83\x59", "\x83\x5b", "\x83\x5d",  // 51: za ji zu ze zo
    "\x83\x5f", "\x83\x61", "\x83\x64", "\x83\x66", "\x83\x68",  // 56: da dji dzu de do
    "\x83\x6f", "\x83\x72", "\x83\x75", "\x83\x78", "\x83\x7b",  // 61: ba bi bu be bo
    "\x83\x70", "\x83\x73", "\x83\x76", "\x83\x79", "\x83\x7c",  // 66: pa pi pu pe po
    "\x83\x4c\x83\x83", "\x83\x4c\x83\x85", "\x83\x4c\x83\x87",  // 71: kya kyu kyo
    "\x83\x56\x83\x83", "\x83\x56\x83\x85", "\x83\x56\x83\x87",  // 74: sha shu sho
    "\x83\x60\x83\x83", "\x83\x60\x83\x85", "\x83\x60\x83\x87",  // 77: cha chu cho
    "\x83\x6a\x83\x83", "\x83\x6a\x83\x85", "\x83\x6a\x83\x87",  // 80: nya nyu nyo
    "\x83\x71\x83\x83", "\x83\x71\x83\x85", "\x83\x71\x83\x87",  // 83: hya hyu hyo
    "\x83\x7e\x83\x83", "\x83\x7e\x83\x85", "\x83\x7e\x83\x87",  // 86: mya myu myo
    "\x83\x8a\x83\x83", "\x83\x8a\x83\x85", "\x83\x8a\x83\x87",  // 89: rya ryu ryo
    "\x83\x4d\x83\x83", "\x83\x4d\x83\x85", "\x83\x4d\x83\x87",  // 92: gya gyu gyo
    "\x83\x57\x83\x83", "\x83\x57\x83\x85", "\x83\x57\x83\x87",  // 95: ja ju jo
    "\x83\x61\x83\x83", "\x83\x61\x83\x85", "\x83\x61\x83\x87",  // 98: dja dju djo
    "\x83\x72\x83\x83", "\x83\x72\x83\x85", "\x83\x72\x83\x87",  // 101: bya byu byo
    "\x83\x73\x83\x83", "\x83\x73\x83\x85", "\x83\x73\x83\x87",  // 104: pya pyu pyo
};

constexpr const char* kHalfwidthStrings[kSlotCount] = {
    "\xb1", "\xb2", "\xb3", "\xb4", "\xb5",  // 0: a i u e o
    "\xb6", "\xb7", "\xb8", "\xb9", "\xba",  // 5: ka ki ku ke ko
    "\xbb", "\xbc", "\xbd", "\xbe", "\xbf",  // 10: sa shi su se so
    "\xc0", "\xc1", "\xc2", "\xc3", "\xc4",  // 15: ta chi tsu te to
    "\xc5", "\xc6", "\xc7", "\xc8", "\xc9",  // 20: na ni nu ne no
    "\xca", "\xcb", "\xcc", "\xcd", "\xce",  // 25: ha hi fu he ho
    "\xcf", "\xd0", "\xd1", "\xd2", "\xd3",  // 30: ma mi mu me mo
    "\xd4", "\xd5", "\xd6",  // 35: ya yu yo
    "\xd7", "\xd8", "\xd9", "\xda", "\xdb",  // 38: ra ri ru re ro
    "\xdc", "\xa6",  // 43: wa wo
    "\xdd",  // 45: n
    "\xb6\xde", "\xb7\xde", "\xb8\xde", "\xb9\xde", "\xba\xde",  // 46: ga gi gu ge go
    "\xbb\xde", "\xbc\xde", "\xbd\xde", "\xbe\xde", "\xbf\xde",  // 51: za ji zu ze zo
    "\xc0\xde", "\xc1\xde", "\xc2\xde", "\xc3\xde", "\xc4\xde",  // 56: da dji dzu de do
    "\xca\xde", "\xcb\xde", "\xcc\xde", "\xcd\xde", "\xce\xde",  // 61: ba bi bu be bo
    "\xca\xdf", "\xcb\xdf", "\xcc\xdf", "\xcd\xdf", "\xce\xdf",  // 66: pa pi pu pe po
    "\xb7\xac", "\xb7\xad", "\xb7\xae",  // 71: kya kyu kyo
    "\xbc\xac", "\xbc\xad", "\xbc\xae",  // 74: sha shu sho
    "\xc1\xac", "\xc1\xad", "\xc1\xae",  // 77: cha chu cho
    "\xc6\xac", "\xc6\xad", "\xc6\xae",  // 80: nya nyu nyo
    "\xcb\xac", "\xcb\xad", "\xcb\xae",  // 83: hya hyu hyo
    "\xd0\xac", "\xd0\xad", "\xd0\xae",  // 86: mya myu myo
    "\xd8\xac", "\xd8\xad", "\xd8\xae",  // 89: rya ryu ryo
    "\xb7\xde\xac", "\xb7\xde\xad", "\xb7\xde\xae",  // 92: gya gyu gyo
    "\xbc\xde\xac", "\xbc\xde\xad", "\xbc\xde\xae",  // 95: ja ju jo
    "\xc1\xde\xac", "\xc1\xde\xad", "\xc1\xde\xae",  // 98: dja dju djo
    "\xcb\xde\xac", "\xcb\xde\xad", "\xcb\xde\xae",  // 101: bya byu byo
    "\xcb\xdf\xac", "\xcb\xdf\xad", "\xcb\xdf\xae",  // 104: pya pyu pyo
};
// clang-format on

// Long-vowel bar, full-width hyphen-minus, box-drawing line, wave dash.
constexpr const char* kFullwidthLongMarkStrings[] = {"\x81\x5b", "\x81\x7c", "\x84\x9f", "\x81\x60"};
constexpr const char* kHalfwidthLongMarkStrings[] = {"\xb0"};

constexpr MeasuredLengths<kSlotCount> kHiraganaLengths{kHiraganaStrings};
constexpr MeasuredLengths<kSlotCount> kKatakanaLengths{kKatakanaStrings};
constexpr MeasuredLengths<kSlotCount> kHalfwidthLengths{kHalfwidthStrings};
constexpr MeasuredLengths<4> kFullwidthLongMarkLengths{kFullwidthLongMarkStrings};
constexpr MeasuredLengths<1> kHalfwidthLongMarkLengths{kHalfwidthLongMarkStrings};

}  // namespace

constexpr StringTable hiragana_table{kHiraganaStrings, kHiraganaLengths.values, kSlotCount};
constexpr StringTable katakana_table{kKatakanaStrings, kKatakanaLengths.values, kSlotCount};
constexpr StringTable halfwidth_table{kHalfwidthStrings, kHalfwidthLengths.values, kSlotCount};
constexpr StringTable fullwidth_long_vowel_marks{kFullwidthLongMarkStrings, kFullwidthLongMarkLengths.values, 4};
constexpr StringTable halfwidth_long_vowel_marks{kHalfwidthLongMarkStrings, kHalfwidthLongMarkLengths.values, 1};

constexpr KanaIndex hiragana_index{hiragana_table};
constexpr KanaIndex katakana_index{katakana_table};
constexpr KanaIndex halfwidth_index{halfwidth_table};

constexpr std::int8_t vowel_of[kSlotCount] = {
    0, 1, 2, 3, 4, 0, 1, 2, 3, 4,  0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0,
    2, 4, 0, 1, 2, 3, 4, 0, 4, 45, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0,
    2, 4, 0, 2, 4, 0, 2, 4, 0, 2,  4, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0, 2, 4,
};

}  // namespace vokari
