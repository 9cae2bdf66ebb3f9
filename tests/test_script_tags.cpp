// The host's backslash tags as the scanner meets them: speaker switches,
// pauses, the escaped backslash, and tags skipped without a sound.
#include <gtest/gtest.h>

#include <string>

#include "support/translate_test.h"

namespace {

using namespace translate_test;
using vokari::scan_script;
using ScriptTagTest = TranslateTest;

TEST_F(ScriptTagTest, SpeakerSwitchSilencesTheOtherSpeaker) {
    EXPECT_EQ(scan_script("\\0\\1"), 130);
    EXPECT_EQ(events(1), (Events{silence(1000), silence(1000)}));   // from "\0", then closing
    EXPECT_EQ(events(0), (Events{silence(1000), silence(1000)}));   // from "\1", then closing

    scan_script(std::string("\\1") + sjis::a + "\\0" + sjis::a);
    EXPECT_EQ(events(1), (Events{{1000, 0, 1, 1}, silence(3866), silence(6733)}));
    EXPECT_EQ(events(0), (Events{silence(1000), {3866, 0, 1, 1}, silence(6733)}));
}

TEST_F(ScriptTagTest, OverlapKeepsBothSpeakersSoundingUntilToggledBack) {
    scan_script("@b\\1\\0");
    EXPECT_EQ(events(0), (Events{silence(1000)}));
    EXPECT_EQ(events(1), (Events{silence(1000)}));
    scan_script("@b@b\\1");
    EXPECT_EQ(events(0), (Events{silence(1000), silence(1000)}));
}

TEST_F(ScriptTagTest, DigitWaitAddsFiftyMillisecondsPerUnit) {
    EXPECT_EQ(scan_script("\\w9"), 450 + 130);
    EXPECT_EQ(scan_script("\\w0"), 130);   // the digit is consumed, no silence
    EXPECT_EQ(events(0).size(), 1u);
    EXPECT_EQ(scan_script("\\wa"), 260);   // only "\w"; the letter is a character
    EXPECT_EQ(scan_script("\\w"), 130);
}

TEST_F(ScriptTagTest, BracketWaitAddsItsArgumentWhateverItsSign) {
    EXPECT_EQ(scan_script("\\_w[300]"), 430);
    EXPECT_EQ(scan_script("\\_w[-100]a"), 160);
    EXPECT_EQ(events(0)[0], silence(1000 - 2205));
    EXPECT_EQ(scan_script("\\_w[abc]"), 130);
    EXPECT_EQ(scan_script("\\_w[ 25x]"), 155);
}

TEST_F(ScriptTagTest, UnclosedBracketTagIsSilenceAndItsArgumentIsText) {
    EXPECT_EQ(scan_script("\\_w[12"), 4 * 130 + 2 * 130 + 130);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(12466), silence(15332), silence(18199)}));
}

TEST_F(ScriptTagTest, NestedArgumentIsSkippedThroughItsMatchingBracket) {
    EXPECT_EQ(scan_script("\\![a[b]c]d"), 260);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)}));
}

TEST_F(ScriptTagTest, BracketedNamesAreTriedBeforePlainOnes) {
    EXPECT_EQ(scan_script("\\n[x]"), 130);
    EXPECT_EQ(scan_script("\\nx"), 260);
    EXPECT_EQ(scan_script("\\s[5]"), 130);
    EXPECT_EQ(scan_script("\\s5"), 130);
    EXPECT_EQ(scan_script("\\sx"), 260);
}

TEST_F(ScriptTagTest, SkippedTagsTakeNoTimeAndEmitNothing) {
    EXPECT_EQ(scan_script("\\e\\c\\n\\_n\\_q\\_s\\_V\\x\\*\\-\\i[1]\\b[2]\\_b[x]\\j[y]\\_l[z]\\m[a]\\_v[b]\\q[c]\\_a[d]"),
              130);
    EXPECT_EQ(events(0), (Events{silence(1000)}));
}

TEST_F(ScriptTagTest, UnknownTagCostsOnlyTheBackslash) {
    EXPECT_EQ(scan_script("\\_a"), 4 * 130);   // backslash, '_' and 'a', then the closing
    EXPECT_EQ(events(0).size(), 4u);
    EXPECT_EQ(scan_script("\\"), 260);          // a backslash at the very end
}

TEST_F(ScriptTagTest, EscapedBackslashIsOneCharacterOfSilence) {
    EXPECT_EQ(scan_script("\\\\"), 260);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(3866)}));
}

}  // namespace
