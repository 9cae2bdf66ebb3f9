// The voice translation dictionary: loading pairs from files, the built-in
// pairs, and the repeated replacement, checked against a literal
// restart-from-the-start rewriting on many random texts.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "vokari.h"
#include "base/module_paths.h"
#include "host/request.h"
#include "base/text_routines.h"
#include "support/fixture_voice.h"
#include "support/translate_test.h"
#include "translate/mora_events.h"
#include "translate/repeated_replace.h"

namespace {

using namespace translate_test;
using vokari::TranslationPair;

class TranslationTest : public TranslateTest {
protected:
    std::string translated(std::string text) {
        apply_translation(text);
        return text;
    }
};

TEST_F(TranslationTest, SystemPairsFoldForeignSoundsInTableOrder) {
    add_system_pairs();
    ASSERT_EQ(translation_dictionary.size(), 45u);
    // VU, small A, I, O, RI, N: only the first two become "ba".
    EXPECT_EQ(translated("\x83\x94\x83\x40\x83\x43\x83\x49\x83\x8a\x83\x93"),
              "\x82\xce\x83\x43\x83\x49\x83\x8a\x83\x93");
    EXPECT_EQ(translated("\xc1\xde\xac"), "\x82\xb6\x82\xe1");  // half-width dja -> ja
    EXPECT_EQ(translated("\x83\x94"), "\x83\x75");              // VU -> BU
    const std::string de_i = std::string(sjis::de) + sjis::small_i;
    // A pair formed by a replacement is found again: de + small i + small i -> de.
    EXPECT_EQ(translated(de_i + sjis::small_i), sjis::de);
    EXPECT_EQ(translated(de_i + sjis::a + sjis::small_i), std::string(sjis::de) + sjis::a + sjis::i);
}

TEST_F(TranslationTest, UserPairsComeFirstAndMatchOnlyAtCharacterStarts) {
    translation_dictionary.push_back({"\x83\x94", "\x83\x8f"});  // VU -> WA
    translation_dictionary.push_back({"\xa7", "X"});             // half-width small a
    translation_dictionary.push_back({"ab", ""});
    translation_dictionary.push_back({"xx", "x"});
    add_system_pairs();
    EXPECT_EQ(translated("\x83\x94\x83\x40"), "\x83\x8f\x82\xa0");  // WA + a, not ba
    EXPECT_EQ(translated("a\xa7\x82\xa7"), "aX\x82\xa8");           // 0xA7 of small o is a trail byte
    EXPECT_EQ(translated("aabbxab-xxxxxx"), "x-x");                 // "aabb" -> "ab" -> ""
}

// The rule as stated: find the leftmost match from the start, replace, repeat.
bool restart_replace(std::string& text, const std::string& search, const std::string& replacement, bool by_character) {
    for (int count = 0; count < 5000; ++count) {
        const int at = by_character ? vokari::find_from(text, 0, search.c_str()) : static_cast<int>(text.find(search));
        if (at < 0) return true;
        text.replace(static_cast<std::size_t>(at), search.size(), replacement);
    }
    return false;
}

std::string random_text(std::mt19937& random, const std::vector<std::string>& pieces, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    return text;
}

TEST_F(TranslationTest, FastRewritingEqualsRestartingFromTheStart) {
    add_system_pairs();
    const std::vector<TranslationPair> system_pairs = translation_dictionary;
    // Kana, small kana, parts of the foreign-sound pairs, lone lead and trail bytes.
    const std::vector<std::string> pieces = {"\x82\xc5", "\x82\xa1", "\x82\xa0", "\x82\xd3", "\x82\x9f", "\x83\x94",
                                             "\x83\x40", "\x83\x42", "\xc1",     "\xde",     "\xac",     "\xa7",
                                             "\x82",     "\x83",     "a",        "b",        "\x82\xa7", "\x83\x66",
                                             "\x83\x85", "\x82\xc0", "\x82\xe1", "\x83\x61", "\x83\x87", "\x82\xec"};
    std::mt19937 random(2024);
    for (int round = 0; round < 3000; ++round) {
        std::vector<TranslationPair> pairs;  // a few random pairs of the kinds that end
        for (int k = 0; k < 3; ++k) {
            TranslationPair pair{random_text(random, pieces, 1 + random() % 2),
                                 random_text(random, pieces, random() % 3)};
            if (!vokari::contains_at_character_start(pair.replacement, pair.search)) pairs.push_back(pair);
        }
        pairs.insert(pairs.end(), system_pairs.begin(), system_pairs.end());
        std::string expected = random_text(random, pieces, 1 + random() % 30);
        std::string fast = expected;
        bool comparable = true;
        for (const TranslationPair& pair : pairs) {
            comparable = restart_replace(expected, pair.search, pair.replacement, true) &&
                         vokari::replace_repeatedly(fast, pair.search, pair.replacement,
                                                    vokari::MatchStart::CharacterBoundary, 5000);
            if (!comparable) break;
        }
        if (comparable) {
            ASSERT_EQ(fast, expected) << "round " << round;
        }
    }
}

// Dictionaries of thousands of pairs are rewritten through an index of the
// pairs that occur; the result must still be that of every pair in order,
// each restarting from the start.
TEST_F(TranslationTest, ThousandsOfPairsRewriteAsRestartingFromTheStart) {
    add_system_pairs();
    const std::vector<TranslationPair> system_pairs = translation_dictionary;
    const std::vector<std::string> pieces = {"\x82\xc5", "\x82\xa1", "\x82\xa0", "\x8e\x9e", "\x95\xaa", "\x83\x94",
                                             "\x83\x40", "1",        "2",        "\xc1",     "\xde",     "\xa7",
                                             "\x82",     "\x83",     "a",        "\x84\xa0"};
    std::mt19937 random(4096);
    for (int round = 0; round < 3; ++round) {
        std::vector<TranslationPair> pairs;
        while (pairs.size() < 2000) {
            TranslationPair pair{random_text(random, pieces, 1 + random() % 4),
                                 random_text(random, pieces, random() % 4)};
            if (!vokari::contains_at_character_start(pair.replacement, pair.search)) pairs.push_back(pair);
        }
        pairs.insert(pairs.end(), system_pairs.begin(), system_pairs.end());
        translation_dictionary = pairs;
        dictionary_index.build(translation_dictionary);
        ASSERT_TRUE(dictionary_index.active());
        for (int line = 0; line < 30; ++line) {
            std::string expected = random_text(random, pieces, 1 + random() % 40);
            const std::string fast = expected;
            bool comparable = true;
            for (const TranslationPair& pair : pairs) {
                if (expected.find(pair.search) == std::string::npos) continue;  // not even byte-wise
                if (!(comparable = restart_replace(expected, pair.search, pair.replacement, true))) break;
            }
            if (!comparable) continue;
            ASSERT_EQ(translated(fast), expected) << "round " << round << ", line " << line;
        }
    }
}

TEST_F(TranslationTest, ByteWiseRewritingEqualsRestartingFromTheStart) {
    const std::string placeholder("\x01\\\x01_\x01W\x01");
    const std::vector<std::string> pieces = {"\x01", "\\", "_", "W", "x", placeholder};
    std::mt19937 random(99);
    for (int round = 0; round < 2000; ++round) {
        const std::string original = random_text(random, pieces, random() % 25);
        for (const std::string& replacement : {std::string(), std::string("\\_w[35]")}) {
            std::string expected = original;
            std::string fast = original;
            restart_replace(expected, placeholder, replacement, false);
            vokari::replace_repeatedly(fast, placeholder, replacement, vokari::MatchStart::AnyByte, 1 << 20);
            ASSERT_EQ(fast, expected) << "round " << round;
        }
    }
}

TEST(ContainsAtCharacterStart, CountsALastLeadByteAsACharacter) {
    EXPECT_TRUE(vokari::contains_at_character_start("xab", "ab"));
    EXPECT_FALSE(vokari::contains_at_character_start("\x82\xa0", "\xa0"));
    EXPECT_TRUE(vokari::contains_at_character_start("a\x82", "\x82"));
}

class DictionaryFileTest : public TranslationTest {
protected:
    void SetUp() override {
        TranslationTest::SetUp();
        dir_ = fixture::temp_directory("dic");
        ASSERT_TRUE(!dir_.empty() && dir_.size() < vokari::kModuleDirCapacity);
        std::strcpy(module_dir, dir_.c_str());
        std::snprintf(settings.log_path, vokari::kPathCapacity, "%s\\test.log", dir_.c_str());
    }
    void TearDown() override {
        module_dir[0] = '\0';
        fixture::remove_tree(dir_);
        TranslationTest::TearDown();
    }
    void write(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(fixture::write_text(dir_ + "/" + name, text));
    }
    std::string log_text() const {
        std::string text;
        for (std::uint8_t b : fixture::read_file(dir_ + "/test.log"))
            if (b != '\r') text += static_cast<char>(b);
        return text;
    }
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }

    std::string dir_;
};

TEST_F(DictionaryFileTest, LinesAreTrimmedUncommentedAndSplitAtTheFirstUnquotedComma) {
    write("user.dic",
          "  ab  ,\tcd  // a remark\r\n\r\n// skipped, even with a comma\r\n   // x,y\r\n"
          "\"a,b\",c\r\n\"no comma\"\r\n\x81\x40k\x81\x40,v,w\r\nlast,line");
    load_translation_file("user.dic");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"ab", "cd"}, {"\"a,b\"", "c"}, {"k", "v,w"}, {"last", "line"}};
    ASSERT_EQ(translation_dictionary.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(translation_dictionary[i].search, expected[i].first) << i;
        EXPECT_EQ(translation_dictionary[i].replacement, expected[i].second) << i;
    }
    EXPECT_EQ(log_text(), path("user.dic") + "...Done.\n");
}

TEST_F(DictionaryFileTest, FilesLoadInOrderAndAMissingOneIsLogged) {
    write("first.dic", "x,first\n");
    write("second.dic", "x,second\n");
    for (const char* name : {"missing.dic", "first.dic", "second.dic"}) load_translation_file(name);
    add_system_pairs();
    EXPECT_EQ(translated("x"), "first");
    EXPECT_EQ(log_text(), path("missing.dic") + "...Can't open file.\n" + path("first.dic") + "...Done.\n" +
                              path("second.dic") + "...Done.\n// Now making system translate data.\nDone.\n\n");
}

TEST_F(DictionaryFileTest, PairsThatCouldNeverEndAreSkippedAndStoppedOnesLogged) {
    write("bad.dic", ",nothing\nab,xaby\nok,fine\n");
    load_translation_file("bad.dic");
    ASSERT_EQ(translation_dictionary.size(), 1u);
    EXPECT_EQ(translation_dictionary[0].search, "ok");
    translation_dictionary.push_back({"ab", "bba"});                                  // each a doubles the b's after it
    EXPECT_NE(translated(std::string(30, 'a') + "b").find("ab"), std::string::npos);  // stopped, not hung
    EXPECT_EQ(log_text(), path("bad.dic") + "...Done.\n" +
                              "WARNING : translate pair \"\" -> \"nothing\" skipped: its search text is empty.\n\n"
                              "WARNING : translate pair \"ab\" -> \"xaby\" skipped: its replacement contains its "
                              "search text.\n\n"
                              "WARNING : translate pair \"ab\" keeps matching its own replacements; stopped.\n\n");
}

// The morae reach the scanner by their place in the text, through the pairs
// that rewrite their kana: a folded mora keeps its mark, a mora whose mark a
// replacement took over speaks there, and kana no mora starts give nothing.
TEST_F(TranslationTest, MoraeKeepTheirPlaceThroughThePairs) {
    add_system_pairs();
    const std::string de_i = std::string(sjis::de) + sjis::small_i;
    // あ でぃ か | き で (unread) | ぃ (a mora of its own): folded あでかきで.
    std::string text = std::string(sjis::a) + de_i + sjis::ka + sjis::ki + de_i;
    const std::vector<vokari::SpokenMora> morae = {
        {sjis::a, 0, 0, true, 1.25}, {de_i, 0, 2, false, 0.75}, {sjis::ka, 0, 6, false, 0.75}, {"", 1, 12, true, 1.5}};
    std::vector<std::int32_t> marks(text.size(), -1);
    for (std::size_t m = 0; m < morae.size(); ++m) marks[static_cast<std::size_t>(morae[m].at)] = std::int32_t(m);
    vokari::apply_translation(settings, translation_dictionary, text, nullptr, &marks);
    ASSERT_EQ(text, std::string(sjis::a) + sjis::de + sjis::ka + sjis::ki + sjis::de);
    vokari::MoraStream stream(morae, marks);
    vokari::scan_script(voice_, text, timeline, &stream);
    timeline.control_events[0].push_back({1000, vokari::PitchSet, 2.0});  // an author's tag at the same moment
    stream.add_to(timeline);
    using vokari::AccentSet;
    EXPECT_EQ(
        controls(0),
        (Controls{
            {1000, vokari::PitchSet, 2.0}, {1000, AccentSet, 1.25}, {3866, AccentSet, 0.75}, {12466, AccentSet, 1.5}}));
    EXPECT_TRUE(controls(1).empty());
}

}  // namespace
