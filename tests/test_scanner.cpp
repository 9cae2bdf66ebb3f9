// The scanner's own rules: byte classes, silence and timing of plain
// characters, the closing events and time conversion.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "host/request.h"
#include "base/text_routines.h"
#include "support/translate_test.h"

namespace {

using namespace translate_test;
using ScannerTest = TranslateTest;

TEST_F(ScannerTest, EmptyTextLastsOneCharacterWithOneSilencePerSpeaker) {
    EXPECT_EQ(scan_script(""), 130);
    EXPECT_EQ(events(0), (Events{silence(1000)}));
    EXPECT_EQ(events(1), (Events{silence(1000)}));
    EXPECT_TRUE(controls(0).empty() && controls(1).empty());
}

TEST_F(ScannerTest, AsciiCharactersAreSilenceAndTheDashLengthens) {
    EXPECT_EQ(scan_script("abc"), 520);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866), silence(6733), silence(9599)}));
    EXPECT_EQ(events(1), (Events{silence(9599)}));
    EXPECT_EQ(scan_script("a-b"), 520);  // events at 0 and 260 ms only
    EXPECT_EQ(events(0), (Events{silence(1000), silence(6733), silence(9599)}));
}

TEST_F(ScannerTest, EachScanStartsWithEmptyListsAndTextStopsAtNul) {
    scan_script("abcdef");
    EXPECT_EQ(scan_script(std::string("a\0bcd", 5)), 260);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)}));
}

TEST_F(ScannerTest, SecondByteOfADoubleByteCharacterIsNeverATag) {
    settings.tag_prefix = '[';  // the long-vowel bar's second byte
    EXPECT_EQ(scan_script(std::string(sjis::so_katakana) + sjis::ka + sjis::long_bar), 520);
    ASSERT_EQ(events(0).size(), 5u);  // so and ka, each onset and vowel; the bar adds time only
    EXPECT_EQ(events(0)[0].slot, 14);
    EXPECT_EQ(events(0)[2].slot, 5);
}

TEST_F(ScannerTest, BackslashIsAlwaysAScriptTagAndAHighPrefixWinsOverKana) {
    settings.tag_prefix = '\\';
    EXPECT_EQ(scan_script("\\w5a"), 250 + 130 + 130);  // the wait tag, not a voice tag
    settings.tag_prefix = 0xB1;                        // half-width a
    EXPECT_EQ(scan_script("\xb1+\xb1"), 260);          // "+", then a prefix starting no tag
    EXPECT_EQ(controls(0).size(), 1u);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)}));
}

TEST_F(ScannerTest, MsToSamplesTruncatesTowardZeroAndNeverOverflows) {
    EXPECT_EQ(vokari::ms_to_samples(130), 3866);
    EXPECT_EQ(vokari::ms_to_samples(-130), 1000 - 2866);
    EXPECT_EQ(vokari::ms_to_samples(100000), 2206000);  // 100000 * 22050 exceeds 32 bits
    EXPECT_EQ(vokari::ms_to_samples(97390000), 2147450500);
    EXPECT_EQ(vokari::ms_to_samples(97400000), INT_MAX);
    EXPECT_EQ(vokari::ms_to_samples(LLONG_MAX), INT_MAX);
    EXPECT_EQ(vokari::ms_to_samples(LLONG_MIN), INT_MIN);
}

TEST_F(ScannerTest, HugeSpeedsAndWaitsSaturateInsteadOfWrapping) {
    EXPECT_EQ(scan_script("@s[2147483647]ab"), 3 * std::int64_t{INT_MAX});  // the total stays exact
    EXPECT_EQ(events(0).back().time, INT_MAX);                              // event times saturate
    EXPECT_EQ(scan_script("\\_w[2147483647]\\_w[2147483647]\\_w[-2147483647]\\_w[-2147483647]"), 130);
}

}  // namespace
