// Wait-tag insertion into the reply: one wait after every displayed character,
// the script's own waits subtracted, voice-control tags removed, script tags
// kept.
#include <gtest/gtest.h>

#include <string>

#include "support/translate_test.h"

namespace {

using namespace translate_test;
using WaitTest = TranslateTest;

std::string with_waits(std::string script, std::int32_t total_ms) {
    vokari::insert_waits(script, total_ms);
    return script;
}

// `text` with `wait` after each of its (single-byte) characters.
std::string each_followed_by(const std::string& text, const std::string& wait) {
    std::string out;
    for (char c : text) out += std::string(1, c) + wait;
    return out;
}

TEST_F(WaitTest, SpeechTimeIsSpreadOverTheCharactersLessTheHostsDelay) {
    EXPECT_EQ(with_waits("abcdefghij", 1300), each_followed_by("abcdefghij", "\\_w[35]"));
    vokari::settings.message_speed = 66;
    EXPECT_EQ(with_waits("ab", 400), each_followed_by("ab", "\\_w[89]"));
}

TEST_F(WaitTest, NoPositiveWaitMeansNoWaitsAtAll) {
    EXPECT_EQ(with_waits("abc", 285), "abc");    // 95 - 95 = 0
    EXPECT_EQ(with_waits("abc", 0), "abc");      // the voice was cut ("n")
    EXPECT_EQ(with_waits("", 130), "");
}

TEST_F(WaitTest, ScriptWaitTagsAreSubtractedAndKeptWithoutAWaitOfTheirOwn) {
    EXPECT_EQ(with_waits("ab\\w5\\_w[300]c", 1000), "a\\_w[55]b\\_w[55]\\w5\\_w[300]c\\_w[55]");
    // A negative script wait adds to the time spread.
    EXPECT_EQ(with_waits("a\\_w[-100]", 100), "a\\_w[105]\\_w[-100]");
}

TEST_F(WaitTest, SpeedTagsAreSkippedWithTheirDigitOrArgument) {
    EXPECT_EQ(with_waits("\\s[5]a", 200), "\\s[5]a\\_w[105]");
    EXPECT_EQ(with_waits("\\s5a", 200), "\\s5a\\_w[105]");
    EXPECT_EQ(with_waits("\\sxa", 400), "\\sx\\_w[105]a\\_w[105]");
}

TEST_F(WaitTest, VoiceTagsDisappearAndAStrayPrefixIsACharacter) {
    EXPECT_EQ(with_waits("a@+[5]b@<c@e", 600), "a\\_w[105]b\\_w[105]c\\_w[105]");
    EXPECT_EQ(with_waits("@z", 400), "@\\_w[105]z\\_w[105]");
    // Unclosed: the prefix and the name with its '[' go; the rest is text.
    EXPECT_EQ(with_waits("@+[5", 200), "5\\_w[105]");
    // Removed even after "n" cut the voice.
    EXPECT_EQ(with_waits("a@nb", 0), "ab");
}

TEST_F(WaitTest, UnknownBackslashIsADisplayedCharacter) {
    EXPECT_EQ(with_waits("\\_a", 600), "\\\\_w[105]_\\_w[105]a\\_w[105]");
    // An unclosed script tag keeps its name; the bytes after '[' are text.
    EXPECT_EQ(with_waits("\\_w[12", 400), "\\_w[1\\_w[105]2\\_w[105]");
}

TEST_F(WaitTest, EscapedBackslashGetsAWaitButIsNotCounted) {
    EXPECT_EQ(with_waits("a\\\\", 1000), "a\\_w[905]\\\\\\_w[905]");
    EXPECT_EQ(with_waits("\\\\\\0\\\\", 1000), "\\\\\\0\\\\");
}

TEST_F(WaitTest, OmittedTextLeavesOnlyTheWaitsWithoutTheHostsDelay) {
    vokari::omit_text = true;
    EXPECT_EQ(with_waits(std::string(sjis::a) + sjis::i + sjis::a, 390), "\\_w[130]\\_w[130]\\_w[130]");
    // Tags and a stray prefix stay visible.
    EXPECT_EQ(with_waits("\\0a@z", 300), "\\0\\_w[100]@\\_w[100]\\_w[100]");
}

TEST_F(WaitTest, CharacterWidthsFollowShiftJis) {
    vokari::settings.tag_prefix = 0x5B;   // '[', the second byte of the long-vowel bar
    const std::string script = std::string(sjis::kanji_hi) + "\xb1" + sjis::so_katakana + sjis::long_bar;
    EXPECT_EQ(with_waits(script, 4 * 100 + 4 * 95),
              std::string(sjis::kanji_hi) + "\\_w[100]\xb1\\_w[100]" + sjis::so_katakana + "\\_w[100]" +
                  sjis::long_bar + "\\_w[100]");
}

TEST_F(WaitTest, LeadByteAtTheEndIsOneCharacterWithItsWaitAfterIt) {
    EXPECT_EQ(with_waits("a\x82", 2 * 195), "a\\_w[100]\x82\\_w[100]");
}

TEST_F(WaitTest, PlaceholderBytesInTheScriptAreDisplayedCharacters) {
    const std::string placeholder("\x01\x5c\x01\x5f\x01\x57\x01", 7);
    // Seven characters, each with its wait.
    EXPECT_EQ(with_waits(placeholder, 7 * 195), each_followed_by(placeholder, "\\_w[100]"));
    // Without a wait, taking out the inserted placeholders joins the script's
    // own bytes into a placeholder again, which goes as well: the search for
    // the next one starts over at the start of the reply each time.
    const std::string left("\x5c\x01\x5f\x01\x57\x01\x01", 7);
    EXPECT_EQ(with_waits(placeholder, 0), left);
    EXPECT_EQ(with_waits("x" + placeholder + "y", 0), "x" + left + "y");
}

}  // namespace
