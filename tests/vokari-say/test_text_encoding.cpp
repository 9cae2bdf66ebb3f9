// vokari-say's own side of the script and reply conversions: the yen sign and
// the messages it prints.
#include <gtest/gtest.h>

#include "tools/vokari-say/text_encoding.h"

using vokari::say::cp932_to_utf8;
using vokari::say::script_file_to_utf8;
using vokari::say::ScriptEncoding;
using vokari::say::utf8_to_cp932;

namespace {

TEST(TextEncoding, YenSignNeverBecomesTheTagByte) {
    const auto result = utf8_to_cp932("¥1¥");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text,
              "\x81\x8F"
              "1\x81\x8F");
}

TEST(TextEncoding, MessagesNameTheBytesAndCharacters) {
    EXPECT_EQ(utf8_to_cp932("あ😀い☃う😀").error, "no Shift_JIS form for '😀' (U+1F600), '☃' (U+2603)");
    EXPECT_EQ(utf8_to_cp932("¥ab\xFF").error, "the script is not valid UTF-8 (byte 4)");
    EXPECT_EQ(cp932_to_utf8("ab\xA0").error, "not a Shift_JIS character at byte 2 (A0)");
    EXPECT_EQ(cp932_to_utf8("\x82\xA0\x85\x40").error, "not a Shift_JIS character at byte 2 (85 40)");
    EXPECT_EQ(script_file_to_utf8("a\x82\xA9\x80\x40", ScriptEncoding::Detect).error,
              "the script file is neither UTF-8 (byte 1) nor Shift_JIS (not a Shift_JIS character at byte 3 (80 40))");
    EXPECT_EQ(script_file_to_utf8("\x82\xA9", ScriptEncoding::Utf8).error, "the script file is not UTF-8 (byte 0)");
    EXPECT_EQ(script_file_to_utf8("\xEF\xBB\xBF", ScriptEncoding::ShiftJis).error,
              "the script file is not Shift_JIS: not a Shift_JIS character at byte 0 (EF BB)");
}

}  // namespace
