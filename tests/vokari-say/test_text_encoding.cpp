// UTF-8 <-> Shift_JIS conversion of scripts and replies.
#include <gtest/gtest.h>

#include "tools/vokari-say/text_encoding.h"

using vokari_say::cp932_to_utf8;
using vokari_say::utf8_to_cp932;

namespace {

// Hiragana, kanji, half-width katakana, ASCII with tags, and ソ and 表 whose
// second bytes are 0x5C (the backslash byte).
const std::string kMixedUtf8 = "\\0かな漢字ｶﾀｶﾅ ok\\_w[100]ソ表";
const std::string kMixedCp932 =
    "\\0\x82\xA9\x82\xC8\x8A\xBF\x8E\x9A\xB6\xC0\xB6\xC5 ok\\_w[100]\x83\x5C\x95\x5C";

TEST(TextEncoding, ConvertsKanaKanjiAndHalfWidthKatakanaBothWays) {
    const auto to_cp932 = utf8_to_cp932(kMixedUtf8);
    ASSERT_TRUE(to_cp932.ok) << to_cp932.error;
    EXPECT_EQ(to_cp932.text, kMixedCp932);

    const auto back = cp932_to_utf8(kMixedCp932);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.text, kMixedUtf8);
}

TEST(TextEncoding, NamesEveryCharacterWithoutShiftJisFormOnce) {
    const auto result = utf8_to_cp932("あ😀い☃う😀");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("U+1F600"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("U+2603"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("😀"), std::string::npos) << result.error;
    EXPECT_EQ(result.error.find("U+1F600"), result.error.rfind("U+1F600")) << result.error;
    EXPECT_EQ(result.error.find("U+3042"), std::string::npos) << "あ has a form: " << result.error;
}

TEST(TextEncoding, RejectsBytesThatAreNotUtf8) {
    for (const std::string& bad : {std::string("ab\xFF"), std::string("ab\xE3\x81"), std::string("ab\xC0\xAF")}) {
        const auto result = utf8_to_cp932(bad);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find("byte 2"), std::string::npos) << result.error;
    }
}

TEST(TextEncoding, YenSignNeverBecomesTheTagByte) {
    const auto result = utf8_to_cp932("¥1");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "\x81\x8F" "1");
}

TEST(TextEncoding, ReportsWhereAReplyIsNotShiftJis) {
    const auto lone = cp932_to_utf8("ab\xA0");
    EXPECT_FALSE(lone.ok);
    EXPECT_NE(lone.error.find("byte 2 (A0)"), std::string::npos) << lone.error;

    const auto unassigned = cp932_to_utf8("\x82\xA0\x85\x40");
    EXPECT_FALSE(unassigned.ok);
    EXPECT_NE(unassigned.error.find("byte 2 (85 40)"), std::string::npos) << unassigned.error;
}

}  // namespace
