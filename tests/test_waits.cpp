// Wait-tag insertion into the reply: one wait after every displayed character,
// the script's own waits subtracted, voice-control tags removed, script tags
// kept.  Character widths, a last lead byte, an unclosed script tag, voice
// off and placeholder bytes are golden cases (translate_*), on both builds.
#include <gtest/gtest.h>

#include <string>

#include "support/translate_test.h"

namespace {

using namespace translate_test;
struct WaitCase {
    std::string script;
    std::int64_t total_ms;
    std::string reply;
};

class WaitTest : public TranslateTest {
protected:
    void expect_replies(const std::vector<WaitCase>& cases) {
        for (const WaitCase& c : cases) {
            std::string reply = c.script;
            insert_waits(reply, c.total_ms);
            EXPECT_EQ(reply, c.reply) << c.script;
        }
    }
};

// `text` with `wait` after each of its single-byte characters.
std::string each_followed_by(const std::string& text, const std::string& wait) {
    std::string out;
    for (char c : text) out += std::string(1, c) + wait;
    return out;
}

const std::string w105 = "\\_w[105]";  // 200 ms per character less 50 + 45

TEST_F(WaitTest, SpeechTimeIsSpreadOverTheCharactersLessTheHostsDelay) {
    expect_replies({
        {"abcdefghij", 1300, each_followed_by("abcdefghij", "\\_w[35]")},
        {"abc", 285, "abc"},  // 95 - 95 = 0: no waits at all
        {"abc", 0, "abc"},    // the voice was cut by "n"
        {"", 130, ""},
        {"ab\\w5\\_w[300]c", 1000, "a\\_w[55]b\\_w[55]\\w5\\_w[300]c\\_w[55]"},  // 550 ms of tag waits
        {"a\\_w[-100]", 100, "a" + w105 + "\\_w[-100]"},
        {"\\s[5]a", 200, "\\s[5]a" + w105},
        {"\\s5a", 200, "\\s5a" + w105},
        {"\\sxa", 400, "\\sx" + w105 + "a" + w105},
    });
    settings.message_speed = 66;
    expect_replies({{"ab", 400, each_followed_by("ab", "\\_w[89]")}});
}

TEST_F(WaitTest, VoiceTagsGoScriptTagsStayAndStrayMarkersAreCharacters) {
    expect_replies({
        {"a@+[5]b@<c@e", 600, "a" + w105 + "b" + w105 + "c" + w105},
        {"@z", 400, "@" + w105 + "z" + w105},
        {"@+[5", 200, "5" + w105},  // unclosed: the prefix and "+[" go
        {"\\_a", 600, "\\" + w105 + "_" + w105 + "a" + w105},
        {"a\\\\", 1000, "a\\_w[905]\\\\\\_w[905]"},  // an escaped backslash is waited, not counted
        {"\\\\\\0\\\\", 1000, "\\\\\\0\\\\"},
    });
}

TEST_F(WaitTest, OmittedTextLeavesOnlyTheWaitsWithoutTheHostsDelay) {
    scan.omit_text = true;
    expect_replies({
        {std::string(sjis::a) + sjis::i + sjis::a, 390, "\\_w[130]\\_w[130]\\_w[130]"},
        {"\\0a@z", 300, "\\0\\_w[100]@\\_w[100]\\_w[100]"},  // tags and a stray prefix stay
    });
}

// The script's own pauses may add up past the int range; the scan's total and
// the tag waits must then still cancel, leaving the characters' own time.
TEST_F(WaitTest, PausesBeyondTheIntRangeStillLeaveTheCharactersTheirTime) {
    const std::string pause = "\\_w[-2000000000]";
    const std::string script = pause + pause + pause + sjis::a;
    std::string reply = script;
    insert_waits(reply, scan_script(script));
    EXPECT_EQ(reply, script + "\\_w[165]");  // the kana and the closing character, 260 ms, less 50 + 45
    expect_replies({{"a", std::int64_t{1} << 40, "a\\_w[2147483647]"}});  // the int range is all a host reads
}

}  // namespace
