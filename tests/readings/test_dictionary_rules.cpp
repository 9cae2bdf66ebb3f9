// The two rules every written dictionary keeps: no search that could match
// inside a tag, and no shorter search before a longer one that contains it.
#include <gtest/gtest.h>

#include "tools/readings/reading_dictionary.h"

namespace {

TEST(DictionaryRules, SearchesThatCouldTouchTagsAreRefused) {
    for (const char* safe : {"時", "3時", "0分", "今日は", "１", "┌1"})
        EXPECT_EQ(readings::unsafe_search_reason(safe, '@'), nullptr) << safe;
    for (const char* unsafe : {"", "12", "0", "a時", "Z", "\\", "時@", "[", "]", "1,", "\"", "1 時", "日/"})
        EXPECT_NE(readings::unsafe_search_reason(unsafe, '@'), nullptr) << unsafe;
    // Another prefix is refused instead of '@'.
    EXPECT_EQ(readings::unsafe_search_reason("時@", '#'), nullptr);
    EXPECT_NE(readings::unsafe_search_reason("時#", '#'), nullptr);
}

TEST(DictionaryRules, AShorterSearchBeforeALongerOneThatContainsItIsFound) {
    using readings::Pair;
    const std::vector<Pair> good = {{"日本語", "にほんご"}, {"日本", "にほん"}, {"本日", "ほんじつ"}, {"日", "ひ"}};
    EXPECT_EQ(readings::first_order_conflict(good), std::make_pair(good.size(), good.size()));
    const std::vector<Pair> bad = {{"本日", "ほんじつ"}, {"日", "ひ"}, {"日本", "にほん"}};
    EXPECT_EQ(readings::first_order_conflict(bad), std::make_pair(std::size_t{1}, std::size_t{2}));
}

}  // namespace
