// The two rules every written dictionary keeps: no search that could match
// inside a tag, and no shorter search before a longer one that contains it.
#include <gtest/gtest.h>

#include "tools/readings/reading_dictionary.h"

namespace {

TEST(DictionaryRules, SearchesThatCouldTouchTagsAreRefused) {
    for (const char* safe : {"時", "3時", "0分", "今日は", "１", "┌1"})
        EXPECT_EQ(vokari::readings::unsafe_search_reason(safe, '@'), nullptr) << safe;
    for (const char* unsafe : {"", "12", "0", "a時", "Z", "\\", "時@", "[", "]", "1,", "\"", "1 時", "日/"})
        EXPECT_NE(vokari::readings::unsafe_search_reason(unsafe, '@'), nullptr) << unsafe;
    // Another prefix is refused instead of '@'.
    EXPECT_EQ(vokari::readings::unsafe_search_reason("時@", '#'), nullptr);
    EXPECT_NE(vokari::readings::unsafe_search_reason("時#", '#'), nullptr);
}

TEST(DictionaryRules, AShorterSearchBeforeALongerOneThatContainsItIsFound) {
    using vokari::readings::Pair;
    const std::vector<Pair> good = {{"日本語", "にほんご"}, {"日本", "にほん"}, {"本日", "ほんじつ"}, {"日", "ひ"}};
    EXPECT_EQ(vokari::readings::first_order_conflict(good), std::make_pair(good.size(), good.size()));
    const std::vector<Pair> bad = {{"本日", "ほんじつ"}, {"日", "ひ"}, {"日本", "にほん"}};
    EXPECT_EQ(vokari::readings::first_order_conflict(bad), std::make_pair(std::size_t{1}, std::size_t{2}));
}

}  // namespace

namespace {

// Particle pairs after kana: a hiragana word with its particle (これは), and
// after a katakana word only its last character with the particle (ムは),
// since no pair rewrites the katakana before it.
TEST(DictionaryRules, KanaParticlePairsTakeTheWholeHiraganaWordOrTheLastKatakana) {
    vokari::readings::ReadingCounts counts;
    const vokari::readings::Word particle{"は", "助詞", "係助詞", "ハ"};
    counts.add_kana_particles({{"これ", "名詞", "代名詞", "コレ"}, particle}, "これは");
    counts.add_kana_particles({{"ゲーム", "名詞", "一般", "ゲーム"}, particle}, "ゲームは");
    counts.add_kana_particles({{"ヨ", "名詞", "一般", "ヨ"}, particle}, "ヨは");  // a word of one character
    const std::vector<vokari::readings::Pair> pairs = counts.reliable_kana_particles(1, 0.5);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].search + "," + pairs[0].replacement, "これは,これわ");
    EXPECT_EQ(pairs[1].search + "," + pairs[1].replacement, "ムは,ムわ");
    EXPECT_EQ(pairs[2].search + "," + pairs[2].replacement, "ヨは,ヨわ");
}

// A word that begins with a counter's kanji goes before the number pairs
// (so that 3本当 is not read as 3本), while the counter itself is one of them.
TEST(DictionaryRules, WordsBeginningWithACounterComeBeforeTheNumbers) {
    std::map<std::string, vokari::readings::ReadingCounts::Entry> words;
    words["本当"] = {"ほんとう", 3, 3};
    words["本"] = {"ほん", 3, 3};
    std::size_t rejected = 0;
    const std::vector<vokari::readings::Pair> pairs =
        vokari::readings::order_pairs(words, {"本"}, {}, {}, vokari::readings::BuildOptions{}, rejected);
    const auto at = [&pairs](const std::string& search) {
        for (std::size_t n = 0; n < pairs.size(); ++n)
            if (pairs[n].search == search) return n;
        return pairs.size();
    };
    ASSERT_LT(at("3本"), pairs.size());
    ASSERT_LT(at("本"), pairs.size());
    EXPECT_LT(at("本当"), at("3本"));
    EXPECT_GT(at("本"), at("3本"));
}

}  // namespace
