// Kana conversion: the events and times of hiragana, katakana and half-width
// katakana, contracted sounds, long-vowel marks and unknown characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "support/translate_test.h"
#include "translate/kana_index.h"
#include "translate/kana_tables.h"

namespace {

using namespace translate_test;
using KanaTest = TranslateTest;

TEST_F(KanaTest, EachScriptNamesTheSlotOfTheSampleNumbering) {
    const struct {
        const char* text;
        int onset, vowel;
    } cases[] = {
        {"\x82\xc6", 19, 4},          {"\x82\xed", 43, 0},     {"\x82\xf0", 44, 4},  // to wa wo
        {"\x82\xaa", 46, 0},          {"\x82\xc0", 57, 1},     {"\x83\x7c", 70, 4},  // ga dji PO
        {"\x83\x73\x83\x87", 106, 4}, {"\xce\xdf", 70, 4},     {"\xa6", 44, 4},      // PYO, half-width po wo
        {"\xb6\xde", 46, 0},          {"\xc1\xde\xac", 98, 0}, {"\xb7\xac", 71, 0},  // ga dja kya
        {"\x82\xc9", 21, 1},          {"\x82\xe8", 39, 1},                           // ni ri
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scan_script(c.text), 260) << c.text;
        ASSERT_EQ(events(0).size(), 3u) << c.text;
        EXPECT_EQ(events(0)[0].slot, c.onset) << c.text;
        EXPECT_EQ(events(0)[1].slot, c.vowel) << c.text;
    }
}

// The tables searched in table order: contracted sounds first, then single
// kana (full-width: hiragana or katakana; half-width: with a voicing mark
// first).  Returns the slot and its length, or -1.
int search_in_order(const std::string& text, bool fullwidth, std::int32_t& size) {
    const std::int32_t length = static_cast<std::int32_t>(text.size());
    const int groups[][2] = {{71, 107}, {46, 71}, {0, 46}};
    for (const auto& group : groups) {
        for (int slot = group[0]; slot < group[1]; ++slot) {
            for (const vokari::StringTable* table :
                 {&vokari::hiragana_table, &vokari::katakana_table, &vokari::halfwidth_table}) {
                if ((table == &vokari::halfwidth_table) == fullwidth) continue;
                if (table->begins(slot, text.data(), 0, length)) {
                    size = table->lengths[slot];
                    return slot;
                }
            }
        }
    }
    return -1;
}

TEST_F(KanaTest, IndexFindsWhatASearchInTableOrderFinds) {
    std::vector<std::string> heads, tails = {"", "\x82\xe1", "\x83\x85", "\xac", "\xde", "\xdf\xae", "a"};
    for (const vokari::StringTable* table :
         {&vokari::hiragana_table, &vokari::katakana_table, &vokari::halfwidth_table})
        for (int slot = 0; slot < vokari::kSlotCount; ++slot) heads.emplace_back(table->strings[slot]);
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x40; trail <= 0xFF; trail += 3) heads.push_back({char(lead), char(trail)});
    for (const std::string& head : heads) {
        for (const std::string& tail : tails) {
            const std::string text = head + tail;
            const bool fullwidth =
                !(static_cast<unsigned char>(text[0]) >= 0xA1 && static_cast<unsigned char>(text[0]) <= 0xDF);
            std::int32_t expected_size = 0, size = 0;
            const int expected = search_in_order(text, fullwidth, expected_size);
            int slot = fullwidth ? vokari::hiragana_index.find(text.data(), 0, int(text.size()), size) : -1;
            if (fullwidth && slot < 0) slot = vokari::katakana_index.find(text.data(), 0, int(text.size()), size);
            if (!fullwidth) slot = vokari::halfwidth_index.find(text.data(), 0, int(text.size()), size);
            ASSERT_EQ(slot, expected) << text;
            if (slot >= 0) {
                EXPECT_EQ(size, expected_size) << text;
            }
        }
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
    scan_script(std::string(sjis::ki) + "\x82\xe1" + sjis::ki + "\x82\xe3" + sjis::ki + "\x82\xe5");
    EXPECT_EQ(events(0), (Events{{1000, 71, 0, 1},
                                 {1000, 0, 1, 0},
                                 {3866, 72, 0, 1},
                                 {3866, 2, 1, 0},
                                 {6733, 73, 0, 1},
                                 {6733, 4, 1, 0},
                                 silence(9599)}));
}

TEST_F(KanaTest, LongVowelMarksLengthenWithoutAnEvent) {
    EXPECT_EQ(scan_script(std::string(sjis::a) + sjis::long_bar), 390);
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(6733)}));
    for (const char* mark : {"\x81\x7c", "\x84\x9f", "\x81\x60", "\xb0"}) {
        EXPECT_EQ(scan_script(mark), 260) << mark;
        EXPECT_EQ(events(0), (Events{silence(3866)})) << mark;
        // One character each, one-byte or two-byte: the kana after it is whole.
        EXPECT_EQ(scan_script(std::string(mark) + sjis::a), 390) << mark;
        EXPECT_EQ(events(0), (Events{{3866, 0, 1, 1}, silence(6733)})) << mark;
    }
}

TEST_F(KanaTest, UnknownCharactersAreOneCharacterOfSilence) {
    // small tsu, small ya, a kanji, the ideographic comma, full-width A, lead
    // bytes 0x80 0xA0 0xFD 0xFF, half-width small tsu, a lone voicing mark,
    // half-width full stop.
    for (const char* text : {"\x82\xc1", "\x82\xe1", "\x93\xfa", "\x81\x41", "\x82\x60", "\x80\x41", "\xa0\x41",
                             "\xfd\x41", "\xff\xff", "\xaf", "\xde", "\xa1"}) {
        EXPECT_EQ(scan_script(text), 260) << text;
        EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)})) << text;
    }
}

TEST_F(KanaTest, AStrayMarkOrALastLeadByteIsACharacterOfItsOwn) {
    EXPECT_EQ(scan_script("\xb1\xde"), 390);  // a, then the voicing mark
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(3866), silence(6733)}));
    EXPECT_EQ(scan_script(std::string(sjis::a) + "\x82"), 390);
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(3866), silence(6733)}));
}

TEST_F(KanaTest, ParticleTagReadsOnlyTheNextHaAsWa) {
    tune_slot(0, 25, 100, 10);
    tune_slot(0, 43, 700, 70);
    scan_script(std::string("@w") + sjis::ha + sjis::ha);
    EXPECT_EQ(events(0),
              (Events{{1000, 43, 0, 1}, {1700, 0, 1, 70}, {3866, 25, 0, 1}, {3966, 0, 1, 10}, silence(6733)}));
    scan_script(std::string("@w ") + sjis::ha);  // the space uses up the countdown
    EXPECT_EQ(events(0)[1].slot, 25);
}

TEST_F(KanaTest, SlowVowelMayLieAfterTheNextOnsetInEmissionOrder) {
    settings.talk_default_speed = 50;
    tune_slot(0, 5, 2000, 0);
    scan_script(std::string(sjis::ka) + sjis::ka);
    EXPECT_EQ(events(0), (Events{{1000, 5, 0, 1}, {3000, 0, 1, 0}, {2102, 5, 0, 1}, {4102, 0, 1, 0}, silence(3205)}));
}

TEST_F(KanaTest, NegativeKanaTimesAreStoredAsZeroAndSilencesKeepThem) {
    tune_slot(0, 5, -5000, 0);
    scan_script(sjis::ka);
    EXPECT_EQ(events(0)[1].time, 0);
    scan_script(std::string("\\_w[-1000]a") + sjis::a);
    EXPECT_EQ(events(0)[0], silence(1000 - 22050));
    EXPECT_EQ(events(0)[1], (vokari::PhonemeEvent{0, 0, 1, 1}));
}

}  // namespace

namespace {

// The prosody model's timing through the scan: the consonant placed so that
// the vowel starts where the model says, っ a closure of its length, a held
// vowel without a new start, the model's pause kept where the text's own
// silence is shorter, every length at the voice's speed, the melody around
// the line's mean wherever it changes within a spoken mora, a devoiced
// mora its consonant alone, and the sound before a voiceless stretch (a
// pause, っ, a devoiced vowel, k s t h p) released ahead of it.
TEST_F(KanaTest, TimedMoraeFollowTheModel) {
    tune_slot(0, 5, 1102, 0);  // ka: its vowel 49 ms after the onset
    const char kSmallTsu[] = "\x82\xc1", kComma[] = "\x81\x41";
    const std::string text = std::string(sjis::ka) + kSmallTsu + sjis::ka + sjis::a + kComma + sjis::ka;
    std::vector<vokari::SpokenMora> morae = {
        {sjis::ka, 0, 0}, {kSmallTsu, 0, 2}, {sjis::ka, 0, 4}, {sjis::a, 0, 6}, {sjis::ka, 1, 10}};
    const std::int32_t lengths[] = {200, 60, 100, 150, 100}, vowels[] = {100, 60, 40, 0, 50},
                       starts[] = {0, 200, 260, 360, 810};
    std::vector<std::int32_t> mora_at(text.size(), -1);
    for (std::size_t m = 0; m < morae.size(); ++m) {
        morae[m].start_ms = starts[m];
        morae[m].length_ms = lengths[m];
        morae[m].vowel_ms = vowels[m];
        mora_at[static_cast<std::size_t>(morae[m].at)] = static_cast<std::int32_t>(m);
    }
    morae[3].held = true;
    morae[4].pause_ms = 300;
    std::vector<double> log_f0(200, 5.1);  // 5 ms frames: 100 ms low, the rest high
    std::fill_n(log_f0.begin(), 20, 4.9);
    const double mean = (20 * 4.9 + 180 * 5.1) / 200;
    const auto scan = [&] {
        vokari::MoraStream stream(morae, mora_at);
        stream.set_melody(log_f0, 5);
        const std::int64_t total = vokari::scan_script(voice_, text, timeline, &stream).total_ms;
        stream.add_to(timeline);
        return total;
    };
    EXPECT_EQ(scan(), 910 + 130);
    EXPECT_EQ(events(0), (Events{{2124, 5, 0, 1},  // 51 ms: the vowel at 100
                                 {3226, 0, 1, 0},
                                 silence(4307),    // released 50 ms before ...
                                 silence(5410),    // ... っ at 200
                                 {6733, 5, 0, 1},  // 260: the vowel can start no sooner than the onset's delay
                                 {7835, 0, 1, 0},
                                 silence(11143),    // released 50 ms before the silence of 、 ...
                                 silence(12245),    // ... at 510, after the held vowel
                                 {18882, 5, 0, 1},  // 811: the pause runs from 510 to 810
                                 {19984, 0, 1, 0},
                                 silence(21065)}));
    ASSERT_EQ(controls(0).size(), 2u);  // at 0 and 100 ms, in the first mora
    EXPECT_EQ(controls(0)[1].time, 3205);
    EXPECT_NEAR(controls(0)[0].value, std::exp(4.9 - mean), 1e-9);
    EXPECT_NEAR(controls(0)[1].value, std::exp(5.1 - mean), 1e-9);
    settings.talk_default_speed = 260;  // every length doubled, the model's pause too
    EXPECT_EQ(scan(), 1820 + 260);
    morae[3].held = false;  // a bare vowel devoiced: only the sound before it ends
    morae[3].devoiced = morae[4].devoiced = true;
    scan();
    ASSERT_EQ(events(0).size(), 11u);
    EXPECT_EQ(events(0)[6], silence(vokari::ms_to_samples(670)));  // the vowel before released 50 ms early
    EXPECT_EQ(events(0)[7], silence(vokari::ms_to_samples(720)));
    EXPECT_EQ(events(0)[9].slot, 5);
    EXPECT_EQ(events(0)[10], silence(vokari::ms_to_samples(1820)));
}

}  // namespace
