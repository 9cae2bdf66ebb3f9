// The host's backslash tags as the scanner meets them: speaker switches,
// pauses, the escaped backslash, and tags skipped without a sound.
#include <gtest/gtest.h>

#include <string>

#include "support/translate_test.h"

namespace {

using namespace translate_test;
using ScriptTagTest = TranslateTest;

TEST_F(ScriptTagTest, SpeakerSwitchSilencesTheOtherSpeakerUnlessTheyOverlap) {
    EXPECT_EQ(scan_script("\\0\\1"), 130);
    EXPECT_EQ(events(1), (Events{silence(1000), silence(1000)}));  // from "\0", then closing
    EXPECT_EQ(events(0), (Events{silence(1000), silence(1000)}));  // from "\1", then closing
    scan_script(std::string("\\1") + sjis::a + "\\0" + sjis::a);
    EXPECT_EQ(events(1), (Events{{1000, 0, 1, 1}, silence(3866), silence(6733)}));
    EXPECT_EQ(events(0), (Events{silence(1000), {3866, 0, 1, 1}, silence(6733)}));
    scan_script("@b\\1\\0");
    EXPECT_EQ(events(0), (Events{silence(1000)}));
    EXPECT_EQ(events(1), (Events{silence(1000)}));
    scan_script("@b@b\\1");  // toggled back
    EXPECT_EQ(events(0), (Events{silence(1000), silence(1000)}));
}

TEST_F(ScriptTagTest, PausesAndTheirDurations) {
    const struct {
        const char* script;
        int total_ms;
    } cases[] = {
        {"\\w9", 450 + 130},
        {"\\w0", 130},
        {"\\wa", 260},
        {"\\w", 130},
        {"\\_w[300]", 430},
        {"\\_w[-100]a", 160},
        {"\\_w[abc]", 130},
        {"\\_w[ 25x]", 155},
        {"\\![a[b]c]d", 260},  // nested brackets belong to the argument
        {"\\_w[12", 910},      // unclosed: the tag is silence, "12" two characters
        {"\\n[x]", 130},
        {"\\nx", 260},
        {"\\s[5]", 130},
        {"\\s5", 130},
        {"\\sx", 260},
        {"\\\\", 260},  // an escaped backslash is one character
        {"\\_a", 520},  // no tag: the backslash, '_' and 'a' are characters
        {"\\", 260},
        {"\\e\\c\\n\\_n\\_q\\_s\\_V\\x\\*\\-\\i[1]\\b[2]\\_b[x]\\j[y]\\_l[z]\\m[a]\\_v[b]\\q[c]\\_a[d]", 130},
    };
    for (const auto& c : cases) EXPECT_EQ(scan_script(c.script), c.total_ms) << c.script;
    scan_script("\\w0\\![x]\\e");
    EXPECT_EQ(events(0), (Events{silence(1000)}));  // skipped tags emit nothing
    scan_script("\\_w[12");                         // an unclosed tag is one silence, its argument text
    EXPECT_EQ(events(0), (Events{silence(1000), silence(12466), silence(15332), silence(18199)}));
}

}  // namespace
