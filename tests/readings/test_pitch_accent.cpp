// Pitch accent: high and low morae by accent type and phrase, the factors
// the voice gets (depth, the fall across a sentence, the rise of a question),
// damaged dictionary data said flat, and the events through the module.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "module_adapter.h"
#include "reading_test.h"
#include "reading/accent_phrases.h"
#include "tools/text/shift_jis.h"

namespace fs = std::filesystem;
using vokari::ReadWord;
using vokari::SpokenMora;

namespace {

using namespace reading_test;


ReadWord word(const char* katakana, int accent, int morae, bool joins = false) {
    ReadWord w;
    w.pronunciation = sjis(katakana);
    w.surface = w.pronunciation;
    w.accent_type = accent;
    w.mora_count = morae;
    w.joins_next = joins;
    return w;
}

ReadWord mark(const char* utf8) {
    ReadWord w;
    w.surface = sjis(utf8);
    w.symbol = true;
    return w;
}

std::string shape(const std::vector<SpokenMora>& morae) {
    std::string s;
    for (const SpokenMora& m : morae) s += m.high ? 'H' : 'L';
    return s;
}

TEST(PitchAccent, AccentTypeAndPhraseDecideHighAndLow) {
    const std::pair<std::vector<ReadWord>, const char*> cases[] = {
        {{word("ハシ", 1, 2)}, "HL"},  // 箸
        {{word("ハシ", 2, 2)}, "LH"},  // 橋
        {{word("サクラ", 0, 3)}, "LHH"},
        {{word("ミズウミ", 3, 4)}, "LHHL"},
        {{word("ハシ", 2, 2, true), word("ガ", 0, 1)}, "LHL"},  // the particle joins the phrase
        {{word("ハシ", 2, 2), mark("、"), word("サクラ", 0, 3)}, "LHLHH"},
        {{word("キョー", 1, 2)}, "HL"},  // a held vowel is a mora
    };
    for (const auto& [words, expected] : cases)
        EXPECT_EQ(shape(vokari::accent_morae(words, 6.0)), expected) << expected;
}

TEST(PitchAccent, FactorsFallAcrossASentenceAndRiseForAQuestion) {
    const double low = 1.0 / std::pow(1.014546, 6.0);
    const std::vector<ReadWord> words = {word("ハシ", 1, 2), word("ハシ", 1, 2), mark("。"), word("ハシ", 1, 2),
                                         word("カ", 0, 1)};
    const auto morae = vokari::accent_morae(words, 6.0);
    ASSERT_EQ(morae.size(), 7u);
    EXPECT_DOUBLE_EQ(morae[0].factor, 1.0);
    EXPECT_NEAR(morae[1].factor, low, 1e-12);
    EXPECT_NEAR(morae[2].factor, 1.0 / std::sqrt(1.014546), 1e-12);  // the next phrase half a step down
    EXPECT_DOUBLE_EQ(morae[4].factor, 1.0);                          // a new sentence starts again
    EXPECT_GT(morae[6].factor, morae[4].factor);                     // ending in か: the last mora rises
    // The fall stops four steps down: from the ninth phrase on, no lower.
    const auto falling = vokari::accent_morae(std::vector<ReadWord>(10, word("ハシ", 1, 2)), 6.0);
    EXPECT_NEAR(falling[14].factor, std::pow(1.014546, -3.5), 1e-12);
    EXPECT_NEAR(falling[16].factor, std::pow(1.014546, -4.0), 1e-12);
    EXPECT_EQ(falling[18].factor, falling[16].factor);
    for (const SpokenMora& m : vokari::accent_morae(words, 0.0)) EXPECT_EQ(m.factor, 1.0);
    for (const SpokenMora& m : vokari::accent_morae(words, 0.2)) EXPECT_EQ(m.factor, 1.0);
    EXPECT_FALSE(vokari::accent_is_on(0.2));
    EXPECT_TRUE(vokari::accent_is_on(0.25));
}

// Damaged entries give a flat phrase, and no depth leaves the renderer's limits.
TEST(PitchAccent, OddDictionaryDataIsSaidFlat) {
    std::vector<ReadWord> long_phrase;
    for (int i = 0; i < 199; ++i) long_phrase.push_back(word("ア", 0, 1, true));
    long_phrase.push_back(word("ア", 0, 1));
    const std::vector<std::vector<ReadWord>> cases = {
        {word("ハシ", 3, 2)},                         // accent type past the phrase
        {word("ハシ", -1, 2)}, {word("ハシ", 1, 0)},  // no mora count: the accent field was missing
        {word("ハシ", 1, 5)},  long_phrase,
    };
    for (const auto& words : cases) {
        const auto morae = vokari::accent_morae(words, 6.0);
        ASSERT_FALSE(morae.empty());
        for (const SpokenMora& m : morae) {
            EXPECT_FALSE(m.high);
            EXPECT_EQ(m.factor, morae[0].factor);
        }
        EXPECT_NEAR(morae[0].factor, 1.0 / std::pow(1.014546, 3.0), 1e-12);  // midway between high and low
    }
    EXPECT_EQ(shape(vokari::accent_morae({word("ハシ", 2, 2)}, 6.0)), "LH");  // the limit itself is sound
    for (double depth : {1e300, std::nan(""), -5.0})
        for (const SpokenMora& m : vokari::accent_morae({word("ハシ", 1, 2), word("カ", 0, 1)}, depth))
            EXPECT_TRUE(m.factor >= 0.25 && m.factor <= 3.0) << depth;
}

std::string pitch_of(const std::string& utf8) {
    return result_of(module_adapter::answer(
        "GET Reading SAORI/1.0\r\nArgument1: pitch\r\nArgument0: " + sjis(utf8.c_str()) + "\r\n\r\n"));
}

std::vector<std::string> events_of(const char* utf8) {
    module_adapter::answer("EXECUTE MAKOTO/2.0\r\nString: @wavouts[x.wav]" + sjis(utf8) + "\r\n\r\n");
    return module_adapter::last_control_events();
}

TEST(PitchAccent, ModuleSpeaksTheAccentOnlyWithADepth) {
    ASSERT_TRUE(fs::exists(kDictionary / "checksums")) << "build the target vokari_reading_dictionary first";
    const char* script = "\\0箸と橋。@|\\1今日は雨ですか？";
    std::vector<std::string> flat;
    {
        Folder folder("voice.reading.dic,naist-jdic\n");
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        flat = events_of(script);
        module_adapter::unload_module();
    }
    {
        Folder folder("voice.reading.dic,naist-jdic\nvoice.pitch.accent,0\n");
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        EXPECT_EQ(events_of(script), flat);
        module_adapter::unload_module();
    }
    Folder folder("voice.reading.dic,naist-jdic\nvoice.pitch.accent,6\n");
    ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
    EXPECT_EQ(pitch_of("箸"), sjis("は:1.000 し:0.917"));
    EXPECT_EQ(pitch_of("橋"), sjis("は:0.917 し:1.000"));
    // A wait of 300 ms (\w6) between two words starts the fall again; 250 ms does not.
    const std::string after_pause = sjis(" は:1.000 し:0.917");
    const std::string paused = pitch_of("箸、橋\\w6箸"), unpaused = pitch_of("箸、橋\\w5箸");
    EXPECT_EQ(paused.substr(paused.size() - after_pause.size()), after_pause) << paused;
    EXPECT_NE(unpaused.substr(unpaused.size() - after_pause.size()), after_pause) << unpaused;
    // So does the silence of unread signs, 130 ms each: three (390 ms), not two.
    const std::string signs = pitch_of("箸、橋、、、箸"), fewer_signs = pitch_of("箸、橋、、箸");
    EXPECT_EQ(signs.substr(signs.size() - after_pause.size()), after_pause) << signs;
    EXPECT_NE(fewer_signs.substr(fewer_signs.size() - after_pause.size()), after_pause) << fewer_signs;
    const std::vector<std::string> accented = events_of(script);
    int accents[2] = {0, 0};
    std::vector<std::string> author;
    for (const std::string& e : accented) {
        if (e.compare(1, 3, " 7 ") == 0) ++accents[e[0] - '0'];
        else author.push_back(e);
    }
    EXPECT_EQ(author, flat);   // the author's own events unchanged, in order
    EXPECT_GT(accents[0], 1);  // both speakers
    EXPECT_GT(accents[1], 1);
    module_adapter::unload_module();
}

// Against a standard front end's accent phrases: within each phrase whose
// pitch moves by more than 1 %, a mora above the middle of the phrase's
// range is high; at least 95 % agree.
TEST(PitchAccent, AgreesWithAStandardFrontEnd) {
    ASSERT_TRUE(fs::exists(kDictionary / "checksums"));
    Folder folder("voice.reading.dic,naist-jdic\nvoice.pitch.accent,6\n");
    ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
    std::ifstream file(fs::path(VOKARI_SOURCE_DIR) / "tests/readings/accuracy/accent_reference.tsv");
    int lines = 0, compared = 0, morae = 0, agree = 0, moving = 0, flattened = 0;
    for (std::string row; std::getline(file, row);) {
        if (row.empty() || row[0] == '#') continue;
        ++lines;
        const std::size_t tab = row.find('\t');
        std::vector<double> factors;
        std::istringstream tokens(pitch_of(row.substr(0, tab)));
        for (std::string token; tokens >> token;) factors.push_back(std::stod(token.substr(token.rfind(':') + 1)));
        std::vector<std::string> phrases;
        std::istringstream reference(row.substr(tab + 1));
        std::size_t count = 0;
        for (std::string phrase; reference >> phrase; count += phrase.size()) phrases.push_back(phrase);
        if (count != factors.size()) continue;  // read differently: no pairs to compare
        ++compared;
        std::size_t at = 0;
        for (const std::string& phrase : phrases) {
            const auto first = factors.begin() + static_cast<std::ptrdiff_t>(at);
            const auto [lo, hi] = std::minmax_element(first, first + static_cast<std::ptrdiff_t>(phrase.size()));
            const bool reference_moves = phrase.find('H') != std::string::npos && phrase.find('L') != std::string::npos;
            moving += reference_moves;
            if (*hi > *lo * 1.01) {
                for (std::size_t i = 0; i < phrase.size(); ++i, ++morae)
                    agree += (factors[at + i] > (*lo + *hi) / 2) == (phrase[i] == 'H');
            } else {
                flattened += reference_moves;  // not counted above, but no way to pass by saying nothing
            }
            at += phrase.size();
        }
    }
    module_adapter::unload_module();
    EXPECT_GE(compared * 10, lines * 9) << compared << " of " << lines << " lines read alike";
    EXPECT_GE(agree * 100, morae * 95) << agree << " of " << morae << " morae agree";
    EXPECT_LE(flattened * 20, moving) << flattened << " of " << moving << " moving phrases said flat";
}

}  // namespace
