// Kana conversion: the events and times of hiragana, katakana and half-width
// katakana, contracted sounds, long-vowel marks and unknown characters.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/translate_test.h"
#include "translate/kana_tables.h"

namespace {

using namespace translate_test;
using vokari::scan_script;
using KanaTest = TranslateTest;

TEST_F(KanaTest, TablesHoldOneDistinctEntryPerSlotOfTheRightLength) {
    const vokari::StringTable* tables[] = {&vokari::hiragana_table, &vokari::katakana_table,
                                           &vokari::halfwidth_table};
    std::set<std::string> seen;
    for (const vokari::StringTable* table : tables) {
        for (int slot = 0; slot < vokari::kSlotCount; ++slot) {
            EXPECT_TRUE(seen.insert(table->strings[slot]).second) << "slot " << slot;
        }
    }
    for (int slot = 0; slot < vokari::kSlotCount; ++slot) {
        EXPECT_EQ(vokari::hiragana_table.lengths[slot], slot < 71 ? 2 : 4);
        EXPECT_EQ(vokari::katakana_table.lengths[slot], slot < 71 ? 2 : 4);
    }
    // Half-width: singles 1 byte, voiced 2, contracted 2, voiced contracted 3.
    EXPECT_EQ(vokari::halfwidth_table.lengths[45], 1);
    EXPECT_EQ(vokari::halfwidth_table.lengths[46], 2);
    EXPECT_EQ(vokari::halfwidth_table.lengths[71], 2);
    EXPECT_EQ(vokari::halfwidth_table.lengths[92], 3);
    EXPECT_EQ(vokari::halfwidth_table.lengths[106], 3);
}

TEST_F(KanaTest, SyllableOrderAndVowelsMatchTheSampleNumbering) {
    // Spot checks through the scanner: the onset slot of each kana.
    const struct {
        const char* text;
        int onset;
        int vowel;
    } cases[] = {
        {"\x82\xc6", 19, 4},          // to
        {"\x82\xed", 43, 0},          // wa
        {"\x82\xf0", 44, 4},          // wo
        {"\x82\xaa", 46, 0},          // ga
        {"\x82\xc0", 57, 1},          // dji
        {"\x82\xdb", 70, 4},          // po
        {"\x83\x7c", 70, 4},          // PO
        {"\x83\x73\x83\x87", 106, 4}, // PYO
        {"\xce\xdf", 70, 4},          // half-width po
        {"\xdc", 43, 0},              // half-width wa
        {"\xa6", 44, 4},              // half-width wo
    };
    for (const auto& c : cases) {
        scan_script(c.text);
        ASSERT_EQ(events(0).size(), 3u) << c.text;
        EXPECT_EQ(events(0)[0].slot, c.onset) << c.text;
        EXPECT_EQ(events(0)[1].slot, c.vowel) << c.text;
    }
}

TEST_F(KanaTest, ConsonantKanaGivesOnsetThenDelayedVowelWithItsFade) {
    tune_slot(0, 5, 1500, 800);
    EXPECT_EQ(scan_script(sjis::ka), 260);
    EXPECT_EQ(events(0), (Events{{1000, 5, 0, 1}, {2500, 0, 1, 800}, silence(3866)}));
}

TEST_F(KanaTest, VowelsAndSyllabicNAreOneEvent) {
    scan_script(std::string(sjis::a) + sjis::n);
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, {3866, 45, 1, 1}, silence(6733)}));
}

TEST_F(KanaTest, ContractedSoundsAreOneKanaEndingInTheirVowel) {
    scan_script(std::string(sjis::ki) + sjis::small_ya + sjis::ki + sjis::small_yu + sjis::ki + sjis::small_yo);
    EXPECT_EQ(events(0), (Events{{1000, 71, 0, 1}, {1000, 0, 1, 0},
                                 {3866, 72, 0, 1}, {3866, 2, 1, 0},
                                 {6733, 73, 0, 1}, {6733, 4, 1, 0}, silence(9599)}));
}

TEST_F(KanaTest, LongVowelMarksLengthenWithoutAnEvent) {
    EXPECT_EQ(scan_script(std::string(sjis::a) + sjis::long_bar), 390);
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(6733)}));
    for (const char* mark : {"\x81\x7c", "\x84\x9f", "\x81\x60", "\xb0"}) {
        EXPECT_EQ(scan_script(mark), 260) << mark;
        EXPECT_EQ(events(0), (Events{silence(3866)})) << mark;
    }
}

TEST_F(KanaTest, UnknownCharactersAreOneCharacterOfSilence) {
    for (const char* text : {sjis::small_tsu, sjis::small_ya, sjis::kanji_hi, sjis::comma, sjis::letter_a,
                             "\x80\x41", "\xa0\x41", "\xfd\x41", "\xff\xff", "\xaf", "\xde", "\xa1"}) {
        EXPECT_EQ(scan_script(text), 260) << text;
        EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)})) << text;
    }
}

TEST_F(KanaTest, HalfwidthTriesVoicedAndContractedEntriesFirst) {
    EXPECT_EQ(scan_script("\xb6\xde"), 260);   // ga, 2 bytes
    EXPECT_EQ(events(0)[0].slot, 46);
    EXPECT_EQ(scan_script("\xb1\xde"), 390);   // a, then a lone voicing mark
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(3866), silence(6733)}));
    EXPECT_EQ(scan_script("\xc1\xde\xac"), 260);   // dja, 3 bytes
    EXPECT_EQ(events(0)[0].slot, 98);
    EXPECT_EQ(scan_script("\xb7\xac"), 260);   // kya
    EXPECT_EQ(events(0)[0].slot, 71);
}

TEST_F(KanaTest, LeadByteAtTheEndIsOneSilentCharacter) {
    EXPECT_EQ(scan_script(std::string(sjis::a) + "\x82"), 390);
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(3866), silence(6733)}));
}

TEST_F(KanaTest, ParticleTagReadsTheNextHaAsWa) {
    tune_slot(0, 25, 100, 10);
    tune_slot(0, 43, 700, 70);
    scan_script(std::string("@w") + sjis::ha + sjis::ha);
    EXPECT_EQ(events(0), (Events{{1000, 43, 0, 1}, {1700, 0, 1, 70},
                                 {3866, 25, 0, 1}, {3966, 0, 1, 10}, silence(6733)}));
    // A space in between uses up the countdown.
    scan_script(std::string("@w ") + sjis::ha);
    EXPECT_EQ(events(0)[1].slot, 25);
}

TEST_F(KanaTest, SlowVowelMayLieAfterTheNextOnsetInEmissionOrder) {
    vokari::settings.talk_default_speed = 50;
    tune_slot(0, 5, 2000, 0);
    scan_script(std::string(sjis::ka) + sjis::ka);
    EXPECT_EQ(events(0), (Events{{1000, 5, 0, 1}, {3000, 0, 1, 0},
                                 {2102, 5, 0, 1}, {4102, 0, 1, 0}, silence(3205)}));
}

TEST_F(KanaTest, NegativeVowelTimeIsStoredAsZero) {
    tune_slot(0, 5, -5000, 0);
    scan_script(sjis::ka);
    EXPECT_EQ(events(0)[1].time, 0);
    // A time pushed back by a negative wait: silences keep it, kana do not.
    scan_script(std::string("\\_w[-1000]a") + sjis::a);
    EXPECT_EQ(events(0)[0], silence(1000 - 22050));
    EXPECT_EQ(events(0)[1], (vokari::PhonemeEvent{0, 0, 1, 1}));
}

}  // namespace
