// The shared string routines: line reading, Shift_JIS-aware search, splitting
// and atoi-style integers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "host/base/shift_jis.h"
#include "host/base/text_routines.h"

namespace {

// Both character rules on both sides of each boundary of their ranges.
TEST(ShiftJis, BothCharacterRulesAtTheEdgesOfTheirRanges) {
    struct Edge {
        unsigned char byte;
        bool lead;          // starts a pair for searches and paths
        bool script_pair;   // starts a pair for the scanner and the reply
    } edges[] = {{0x7F, false, false}, {0x80, false, true}, {0x81, true, true},  {0x9F, true, true},
                 {0xA0, false, true},  {0xA1, false, false}, {0xDF, false, false}, {0xE0, true, true},
                 {0xFC, true, true},   {0xFD, false, true},  {0xFF, false, true}};
    for (const Edge& e : edges) {
        EXPECT_EQ(vokari::is_sjis_lead(e.byte), e.lead) << int(e.byte);
        EXPECT_EQ(vokari::starts_script_pair(e.byte), e.script_pair) << int(e.byte);
        const char pair[] = {static_cast<char>(e.byte), 'a'};
        EXPECT_EQ(vokari::sjis_char_size(pair, 0, 2), e.lead ? 2u : 1u) << int(e.byte);
        EXPECT_EQ(vokari::sjis_char_size(pair, 0, 1), 1u) << int(e.byte);   // a lead byte as the last byte
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

TEST(ReadLine, KeepsTheLineFeedAndReturnsTheRestAtTheEnd) {
    EXPECT_EQ(all_lines("a\nbc\n\nlast"), (std::vector<std::string>{"a\n", "bc\n", "\n", "last"}));
    EXPECT_TRUE(all_lines("").empty());
}

TEST(ReadLine, SkipsNulBytes) {
    EXPECT_EQ(all_lines(std::string("a\0b\n\0\0", 6)), (std::vector<std::string>{"ab\n"}));
}

TEST(ReadLine, LineFeedAfterUnpairedLeadByteIsItsTrailByte) {
    // 0x82 waits for a trail byte: the LF is taken as one and the line goes on.
    EXPECT_EQ(all_lines("x\x82\ny\nz"), (std::vector<std::string>{"x\x82\ny\n", "z"}));
    // A complete double-byte character does not swallow the LF after it.
    EXPECT_EQ(all_lines("\x82\xa0\nz"), (std::vector<std::string>{"\x82\xa0\n", "z"}));
    // A half-width katakana byte is a character by itself.
    EXPECT_EQ(all_lines("\xb1\nz"), (std::vector<std::string>{"\xb1\n", "z"}));
}

TEST(FindFrom, NeverMatchesOnATrailByte) {
    // "ぉ" is 82 A7; the half-width "ｧ" is the single byte A7.
    EXPECT_EQ(find_from(std::string("\x82\xa7"), 0, "\xa7"), -1);
    EXPECT_EQ(find_from(std::string("\x82\xa7\xa7"), 0, "\xa7"), 2);
    // "表" is 95 5C: its trail byte is not a backslash.
    EXPECT_EQ(find_from(std::string("\x95\x5c\\"), 0, "\\"), 2);
    EXPECT_EQ(find_from(std::string("abcabc"), 1, "abc"), 3);
}

TEST(FindFrom, EdgesOfTheText) {
    EXPECT_EQ(find_from(std::string("abc"), 1, ""), 1);
    EXPECT_EQ(find_from(std::string("abc"), 3, ""), 3);
    EXPECT_EQ(find_from(std::string("abc"), 4, ""), -1);
    EXPECT_EQ(find_from(std::string("abc"), -1, "a"), -1);
    EXPECT_EQ(find_from(std::string("abc"), 0, "abcd"), -1);
    // A lead byte right before the end is still a place to match, and the
    // last place: the search does not step past the end.
    EXPECT_EQ(find_from(std::string("a\x82"), 0, "\x82"), 1);
    EXPECT_EQ(find_from(std::string("a\x82"), 0, "\x82\x40"), -1);
    // The text ends at its first NUL, as a C string would.
    EXPECT_EQ(find_from(std::string("ab\0cd", 5), 0, "cd"), -1);
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

TEST(StringToInt, FollowsAtoiRules) {
    EXPECT_EQ(vokari::string_to_int("150"), 150);
    EXPECT_EQ(vokari::string_to_int(" \t\n-12abc"), -12);
    EXPECT_EQ(vokari::string_to_int("+7"), 7);
    EXPECT_EQ(vokari::string_to_int("150//x"), 150);
    EXPECT_EQ(vokari::string_to_int("x1"), 0);
    EXPECT_EQ(vokari::string_to_int(""), 0);
    EXPECT_EQ(vokari::string_to_int("- 1"), 0);
    EXPECT_EQ(vokari::string_to_int("\x81\x40" "5"), 0);
}

TEST(StringToInt, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(vokari::string_to_int("2147483647"), INT_MAX);
    EXPECT_EQ(vokari::string_to_int("2147483648"), INT_MAX);
    EXPECT_EQ(vokari::string_to_int("-2147483648"), INT_MIN);
    EXPECT_EQ(vokari::string_to_int("-2147483649"), INT_MIN);
    EXPECT_EQ(vokari::string_to_int("99999999999999999999999999"), INT_MAX);
}

}  // namespace
