// The shared string routines: line reading, Shift_JIS-aware search, splitting
// and atoi-style integers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "base/text_routines.h"

namespace {

// Both character rules on both sides of each boundary of their ranges.
TEST(ShiftJis, BothCharacterRulesAtTheEdgesOfTheirRanges) {
    struct Edge {
        unsigned char byte;
        bool lead;         // starts a pair for searches and paths
        bool script_pair;  // starts a pair for the scanner and the reply
    } edges[] = {{0x7F, false, false}, {0x80, false, true},  {0x81, true, true},   {0x9F, true, true},
                 {0xA0, false, true},  {0xA1, false, false}, {0xDF, false, false}, {0xE0, true, true},
                 {0xFC, true, true},   {0xFD, false, true},  {0xFF, false, true}};
    for (const Edge& e : edges) {
        EXPECT_EQ(vokari::is_sjis_lead(e.byte), e.lead) << int(e.byte);
        EXPECT_EQ(vokari::starts_script_pair(e.byte), e.script_pair) << int(e.byte);
        const char pair[] = {static_cast<char>(e.byte), 'a'};
        EXPECT_EQ(vokari::sjis_char_size(pair, 0, 2), e.lead ? 2u : 1u) << int(e.byte);
        EXPECT_EQ(vokari::sjis_char_size(pair, 0, 1), 1u) << int(e.byte);  // a lead byte as the last byte
    }
}

using vokari::find_from;
using vokari::read_line;

// A binary stream over `bytes` (tmpfile, rewound).
std::FILE* stream_of(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    return file;
}

std::vector<std::string> all_lines(const std::string& bytes) {
    std::FILE* file = stream_of(bytes);
    std::vector<std::string> lines;
    std::string line;
    int length;
    while ((length = read_line(file, line)) != -1) {
        EXPECT_EQ(static_cast<std::size_t>(length), line.size());
        lines.push_back(line);
    }
    std::fclose(file);
    return lines;
}

TEST(ReadLine, SplitsAfterLineFeedsThatAreNotTrailBytes) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"a\nbc\n\nlast", {"a\n", "bc\n", "\n", "last"}},  // the rest comes back at the end
        {"", {}},
        {std::string("a\0b\n\0\0", 6), {"ab\n"}},  // NUL bytes are skipped
        // 0x82 waits for a trail byte: the LF is taken as one and the line goes on.
        {"x\x82\ny\nz", {"x\x82\ny\n", "z"}},
        {"\x82\xa0\nz", {"\x82\xa0\n", "z"}},  // a whole character keeps the LF after it
        {"\xb1\nz", {"\xb1\n", "z"}},          // half-width katakana is one byte
    };
    for (const auto& c : cases) EXPECT_EQ(all_lines(c.bytes), c.lines) << c.bytes;
}

TEST(FindFrom, MatchesOnlyAtCharacterStartsInsideTheText) {
    const struct {
        std::string text;
        int from;
        const char* search;
        int found;
    } cases[] = {
        // "ぉ" is 82 A7; the half-width "ｧ" is the single byte A7.
        {"\x82\xa7", 0, "\xa7", -1},
        {"\x82\xa7\xa7", 0, "\xa7", 2},
        {"\x95\x5c\\", 0, "\\", 2},  // "表" is 95 5C: its trail byte is no backslash
        {"abcabc", 1, "abc", 3},
        {"abc", 1, "", 1},
        {"abc", 3, "", 3},
        {"abc", 4, "", -1},
        {"abc", -1, "a", -1},
        {"abc", 0, "abcd", -1},
        // A lead byte right before the end is still a place to match, and the
        // last place: the search does not step past the end.
        {"a\x82", 0, "\x82", 1},
        {"a\x82", 0, "\x82\x40", -1},
        {std::string("ab\0cd", 5), 0, "cd", -1},  // the text ends at its first NUL
    };
    for (const auto& c : cases) EXPECT_EQ(find_from(c.text, c.from, c.search), c.found) << c.text << " @" << c.from;
}

TEST(SplitString, KeepsOrDropsEmptyPieces) {
    std::vector<std::string> out{"stale"};
    vokari::split_string(",a,,b,", out, ",", false);
    EXPECT_EQ(out, (std::vector<std::string>{"a", "b"}));
    vokari::split_string(",a,,b,", out, ",", true);
    EXPECT_EQ(out, (std::vector<std::string>{"", "a", "", "b", ""}));
    vokari::split_string("a--b", out, "--", false);
    EXPECT_EQ(out, (std::vector<std::string>{"a", "b"}));
    vokari::split_string("", out, ",", true);
    EXPECT_TRUE(out.empty());
    vokari::split_string("abc", out, "", true);
    EXPECT_TRUE(out.empty());
}

TEST(StringToInt, FollowsAtoiRulesAndSaturatesAtBothEnds) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"150", 150},
        {" \t\n-12abc", -12},
        {"+7", 7},
        {"150//x", 150},
        {"x1", 0},
        {"", 0},
        {"- 1", 0},
        {"\x81\x40"
         "5",
         0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(vokari::string_to_int(c.text), c.value) << c.text;
}

}  // namespace
