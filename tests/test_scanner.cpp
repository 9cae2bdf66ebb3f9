// The scanner's own rules: byte classes, silence and timing of plain
// characters, the closing events, time conversion, and bracket matching.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>

#include "host/request.h"
#include "support/translate_test.h"
#include "translate/bracket_matcher.h"

namespace {

using namespace translate_test;
using vokari::scan_script;
using ScannerTest = TranslateTest;

TEST_F(ScannerTest, EmptyTextLastsOneCharacterWithOneSilencePerSpeaker) {
    EXPECT_EQ(scan_script(""), 130);
    EXPECT_EQ(events(0), (Events{silence(1000)}));
    EXPECT_EQ(events(1), (Events{silence(1000)}));
    EXPECT_TRUE(controls(0).empty());
    EXPECT_TRUE(controls(1).empty());
}

TEST_F(ScannerTest, AsciiCharactersAreSilenceAndTheDashLengthens) {
    EXPECT_EQ(scan_script("abc"), 520);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866), silence(6733), silence(9599)}));
    EXPECT_EQ(events(1), (Events{silence(9599)}));

    EXPECT_EQ(scan_script("a-b"), 520);   // events at 0 and 260 ms only
    EXPECT_EQ(events(0), (Events{silence(1000), silence(6733), silence(9599)}));
}

TEST_F(ScannerTest, EachScanStartsWithEmptyListsAndTextStopsAtNul) {
    scan_script("abcdef");
    EXPECT_EQ(scan_script(std::string("a\0bcd", 5)), 260);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)}));
    EXPECT_EQ(events(1), (Events{silence(3866)}));
}

TEST_F(ScannerTest, TalkSpeedComesFromTheSettings) {
    vokari::settings.talk_default_speed = 200;
    EXPECT_EQ(scan_script("ab"), 600);
    EXPECT_EQ(events(0).back(), silence(vokari::ms_to_samples(400)));
}

TEST_F(ScannerTest, SecondByteOfADoubleByteCharacterIsNeverATag) {
    // so (0x83 0x5C): its second byte is a backslash; with '[' as prefix the
    // long-vowel bar's second byte would be the prefix.
    vokari::settings.tag_prefix = '[';
    EXPECT_EQ(scan_script(std::string(sjis::so_katakana) + sjis::ka + sjis::long_bar), 520);
    // so: onset 14 and vowel 4; ka: onset 5 and vowel 0; the bar adds time only.
    ASSERT_EQ(events(0).size(), 5u);
    EXPECT_EQ(events(0)[0].slot, 14);
    EXPECT_EQ(events(0)[2].slot, 5);
    EXPECT_EQ(events(0)[4], silence(vokari::ms_to_samples(390)));
}

TEST_F(ScannerTest, BackslashIsAlwaysAScriptTagAndAHighPrefixWinsOverKana) {
    vokari::settings.tag_prefix = '\\';
    EXPECT_EQ(scan_script("\\w5a"), 250 + 130 + 130);   // the wait tag, not a voice tag
    vokari::settings.tag_prefix = 0xB1;   // half-width a
    // The tag "+", then a prefix that starts no tag: silence, not the kana a.
    EXPECT_EQ(scan_script("\xb1+\xb1"), 260);
    EXPECT_EQ(controls(0).size(), 1u);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)}));
}

TEST_F(ScannerTest, MsToSamplesTruncatesTowardZeroAndNeverOverflows) {
    EXPECT_EQ(vokari::ms_to_samples(0), 1000);
    EXPECT_EQ(vokari::ms_to_samples(130), 3866);
    EXPECT_EQ(vokari::ms_to_samples(-130), 1000 - 2866);
    EXPECT_EQ(vokari::ms_to_samples(100000), 2206000);   // 100000 * 22050 does not fit 32 bits
    EXPECT_EQ(vokari::ms_to_samples(97390000), 2147450500);
    EXPECT_EQ(vokari::ms_to_samples(97400000), INT_MAX);
    EXPECT_EQ(vokari::ms_to_samples(LLONG_MAX), INT_MAX);
    EXPECT_EQ(vokari::ms_to_samples(LLONG_MIN), INT_MIN);
}

TEST_F(ScannerTest, HugeSpeedsAndWaitsSaturateInsteadOfWrapping) {
    // Two characters of 2^31-1 ms: the true total does not fit 32 bits.
    EXPECT_EQ(scan_script("@s[2147483647]ab"), INT_MAX);
    EXPECT_EQ(events(0).back().time, INT_MAX);
    // Far-apart waits that cancel give the exact result.
    EXPECT_EQ(scan_script("\\_w[2147483647]\\_w[2147483647]\\_w[-2147483647]\\_w[-2147483647]"), 130);
}

// --- bracket matching ---------------------------------------------------------

TEST(ExtractTagArgument, NestedBracketsBelongToTheArgument) {
    std::string out;
    EXPECT_EQ(vokari::extract_tag_argument("[a[b]c]d", 0, 8, out), 7);
    EXPECT_EQ(out, "a[b]c");
}

TEST(ExtractTagArgument, ShortOrUnclosedTextsFail) {
    std::string out = "kept";
    EXPECT_EQ(vokari::extract_tag_argument("x[]", 1, 3, out), -1);   // fewer than 3 bytes
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(vokari::extract_tag_argument("[]d", 0, 3, out), 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(vokari::extract_tag_argument("[abc", 0, 4, out), -1);
    EXPECT_EQ(vokari::extract_tag_argument("[a[b]c", 0, 6, out), -1);   // the inner close is not enough
}

TEST(ExtractTagArgument, BracketBytesInsideDoubleByteCharactersDoNotCount) {
    std::string out;
    // "\x81\x5d" is one character whose second byte is ']'.
    const std::string text = "[\x81\x5d\x81\x5b]x";
    EXPECT_EQ(vokari::extract_tag_argument(text.c_str(), 0, static_cast<int>(text.size()), out), 6);
    EXPECT_EQ(out, "\x81\x5d\x81\x5b");
    // A lead byte as the text's last byte ends the search.
    const std::string cut = "[ab\x81";
    EXPECT_EQ(vokari::extract_tag_argument(cut.c_str(), 0, 4, out), -1);
}

// The search as the walk it describes: depth counting along the characters.
int reference_extract(const std::string& text, int p, std::string& out) {
    const int end = static_cast<int>(text.size());
    if (end - p < 3) return -1;
    int depth = 1;
    for (int i = p + 1; i < end;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '[') ++depth;
        if (c == ']' && --depth == 0) {
            out = text.substr(p + 1, i - p - 1);
            return i - p + 1;
        }
        if (vokari::is_sjis_lead(c)) {
            if (i + 1 >= end) return -1;
            i += 2;
        } else {
            ++i;
        }
    }
    return -1;
}

TEST(ExtractTagArgument, RememberedMatchesAgreeWithAPlainWalk) {
    std::mt19937 random(7);
    const char alphabet[] = {'[', ']', 'a', '\x81', '\x5b', '\x5d'};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int size = 1 + random() % 40;
        for (int i = 0; i < size; ++i) text += alphabet[random() % sizeof alphabet];
        vokari::BracketMatcher matcher(text.data(), size);
        // Ask in a random order, so that remembered matches are reused.
        std::vector<int> opens;
        for (int i = 0; i < size; ++i)
            if (text[i] == '[') opens.push_back(i);
        std::shuffle(opens.begin(), opens.end(), random);
        for (int p : opens) {
            std::string expected_out, out;
            const int expected = reference_extract(text, p, expected_out);
            ASSERT_EQ(matcher.extract(p, out), expected) << "text " << text << " at " << p;
            if (expected >= 0) {
                EXPECT_EQ(out, expected_out);
            }
        }
    }
}

TEST_F(ScannerTest, AMegabyteOfUnclosedTagsIsScannedInOnePass) {
    std::string script;
    while (script.size() < (1u << 20)) script += "\\_w[@+[[";
    // Every tag is unclosed: "\\_w[" costs 4 characters, "@+[" 3, and the
    // last '[' is a character of its own.
    const std::int32_t repeats = static_cast<std::int32_t>(script.size() / 8);
    EXPECT_EQ(scan_script(script), repeats * 8 * 130 + 130);
    EXPECT_EQ(events(0).size(), static_cast<std::size_t>(repeats) * 3 + 1);
    // The reply keeps the unclosed script tags and loses the voice tags.
    std::string reply = script;
    vokari::insert_waits(reply, 0);
    std::string expected;
    for (std::int32_t i = 0; i < repeats; ++i) expected += "\\_w[[";
    EXPECT_EQ(reply, expected);
}

}  // namespace
