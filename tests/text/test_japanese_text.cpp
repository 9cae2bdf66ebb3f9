// UTF-8 and Shift_JIS (code page 932) checks, conversions and detection, at
// the edges of their byte ranges; files replaced whole or not at all.
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "tools/text/file_replacement.h"
#include "tools/text/shift_jis.h"
#include "tools/text/text_detection.h"
#include "tools/text/utf8.h"

using namespace vokari::text;

namespace {

using Offset = std::optional<std::size_t>;

TEST(JapaneseText, Utf8FailsAtTheFirstBadByteOnBothSidesOfEveryLimit) {
    // Well-formed: the smallest and largest of each length, and the values
    // beside the surrogates.
    for (const char* good : {"\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                             "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
        EXPECT_EQ(first_invalid_utf8(std::string("ab") + good + "c"), Offset()) << good;
    // A stray continuation byte, overlong forms, a surrogate, past U+10FFFF,
    // bytes that lead nothing, and a sequence cut off by a byte or the end.
    for (const char* bad : {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\xFF", "\xE3\x81",
                            "\xE3\x81"
                            "a"})
        EXPECT_EQ(first_invalid_utf8(std::string("ab") + bad), Offset(2)) << bad;

    std::size_t pos = 2;
    char32_t code = 0;
    EXPECT_TRUE(next_utf8("ab\xF0\x9F\x98\x80", pos, code));
    EXPECT_EQ(pos, 6u);
    EXPECT_EQ(code, U'\U0001F600');
    pos = 0;
    EXPECT_FALSE(next_utf8("\xE3\x81", pos, code));
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(utf8_step("\xE3\x81", 0), 1u);
    EXPECT_EQ(utf8_step("\xE3\x81\x82", 0), 3u);
}

// Each kanji range at both ends, the marks written for kanji, and kana, the
// iteration marks of kana and a stray byte that are not; the katakana that
// become hiragana.
TEST(JapaneseText, TellsKanjiAtTheEdgesOfEveryRange) {
    for (const char* kanji :
         {"一", "鿿", "㐀", "䶿", "\xEF\xA4\x80", "﫿", "𠀀", "\xF0\xAF\xBF\xBF", "々", "〆", "ヶ"})
        EXPECT_TRUE(holds_kanji(std::string("\xFF"
                                            "a") +
                                kanji))
            << kanji;
    for (const char* other : {"〇", "ゝ", "ヵ", "ヷ", "䷿", "ꀀ", "\xEF\xAC\x80", "\xF0\x9F\x98\x80",
                              "\xF0\xB0\x80\x80", "㏿", "\xE4\xB8", "かナ"})
        EXPECT_FALSE(holds_kanji(other)) << other;
    // Katakana from ァ to ヶ have hiragana twins; ゠, ヷ and a stray byte stay;
    // and back, where ゟ stays.
    EXPECT_EQ(katakana_to_hiragana("゠ァカヴヶヷ\xFFン"), "゠ぁかゔゖヷ\xFFん");
    EXPECT_EQ(hiragana_to_katakana("ぁかゔゖ\xFFゟ"), "ァカヴヶ\xFFゟ");
}

TEST(JapaneseText, ShiftJisLeadAndTrailBytesAtTheirBoundaries) {
    // Single bytes up to 0x7F and 0xA1-0xDF; leads 0x81-0x9F and 0xE0-0xFC
    // with trails 0x40-0x7E and 0x80-0xFC.
    for (const char* good :
         {"\x7F", "\xA1", "\xDF", "\x81\x40", "\x9F\x40", "\xE0\x40", "\xFC\x40", "\x81\x7E", "\x81\x80", "\x81\xFC"})
        EXPECT_EQ(first_invalid_shift_jis(std::string("a") + good), Offset()) << int(good[0] & 0xFF);
    for (const char* bad : {"\x80\x40", "\xA0", "\xFD\x40", "\xFF", "\x81\x3F", "\x81\x7F", "\x81\xFD", "\x81"})
        EXPECT_EQ(first_invalid_shift_jis(std::string("a") + bad), Offset(1)) << int(bad[0] & 0xFF);
    // A well-formed pair the code page does not assign fails where it starts,
    // even when a malformed byte comes after it.
    EXPECT_EQ(first_invalid_shift_jis("a\x85\x40\x80"), Offset(1));
    const ShiftJisDecoding unassigned = shift_jis_to_utf8("\x82\xA0\x85\x40");
    EXPECT_FALSE(unassigned.ok);
    EXPECT_EQ(unassigned.bad_offset, 2u);
}

TEST(JapaneseText, ConvertsBothWaysKeepingTheTagByte) {
    // Hiragana, kanji, half-width katakana, the user-defined area, ASCII with
    // the backslash and tilde bytes, and ソ and 表 whose trail bytes are 0x5C.
    const std::string utf8 = "\\0かな漢字ｶﾀｶﾅ\xEE\x80\x80~ソ表";
    const std::string cp932 = "\\0\x82\xA9\x82\xC8\x8A\xBF\x8E\x9A\xB6\xC0\xB6\xC5\xF0\x40~\x83\x5C\x95\x5C";
    const ShiftJisEncoding encoded = utf8_to_shift_jis(utf8);
    ASSERT_TRUE(encoded.ok) << encoded.unconvertible;
    EXPECT_EQ(encoded.shift_jis, cp932);
    const ShiftJisDecoding decoded = shift_jis_to_utf8(cp932);
    ASSERT_TRUE(decoded.ok) << decoded.bad_offset;
    EXPECT_EQ(decoded.utf8, utf8);
}

TEST(JapaneseText, NamesEachCharacterWithoutAFormOnceUnlessTheTextIsNotUtf8) {
    const ShiftJisEncoding missing = utf8_to_shift_jis("あ😀い☃う😀");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.unconvertible, "'😀' (U+1F600), '☃' (U+2603)");
    EXPECT_EQ(missing.bad_utf8, Offset());

    const ShiftJisEncoding broken = utf8_to_shift_jis("☃ab\xC0\xAF");
    EXPECT_FALSE(broken.ok);
    EXPECT_EQ(broken.bad_utf8, Offset(5));
    EXPECT_EQ(broken.unconvertible, "");
}

TEST(JapaneseText, DetectsUtf8ThenShiftJisAndSaysWhereEachFails) {
    const DetectedText utf8 = detect_text_encoding(
        "\xEF\xBB\xBF"
        "かな");
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.utf8,
              "\xEF\xBB\xBF"
              "かな");

    const DetectedText sjis = detect_text_encoding("a\x82\xA9\xB6");
    ASSERT_TRUE(sjis.ok);
    EXPECT_EQ(sjis.encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(sjis.utf8, "aかｶ");

    const DetectedText neither = detect_text_encoding("ab\x82\xA9\xA0");
    EXPECT_FALSE(neither.ok);
    EXPECT_EQ(neither.bad_utf8, 2u);
    EXPECT_EQ(neither.bad_shift_jis, 4u);
}

// The Windows and browser decoders step by this length: 1 for a byte of its
// own, 2 for a lead byte with its trail, 0 where no character starts.
TEST(JapaneseText, ShiftJisCharacterLengthOnBothSidesOfEachRange) {
    for (const char* one : {"\x7F", "\xA1", "\xDF"}) EXPECT_EQ(shift_jis_character_length(one, 0), 1u) << one;
    for (const char* two : {"\x81\x40", "\x9F\xFC", "\xE0\x7E", "\xFC\x80"})
        EXPECT_EQ(shift_jis_character_length(two, 0), 2u) << two;
    for (const char* none : {"\x80\x40", "\xA0", "\xFD\x40", "\x81\x3F", "\x81\x7F", "\x81"})
        EXPECT_EQ(shift_jis_character_length(none, 0), 0u) << none;
}

// The new bytes replace the old file exactly, or, when the file's close fails
// after every byte went out (a network file system over its quota does
// that), not at all.  A system-call filter makes close fail in a child.
TEST(FileReplacement, ReplacesWithExactlyTheBytesOrNotAtAllWhenTheCloseFails) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vokari_replace_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "out.txt").string();
    const auto content = [&path] {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    };
    std::string reason;
    ASSERT_TRUE(replace_file(path, "old", reason)) << reason;
    ASSERT_TRUE(replace_file(path, std::string("kept\0\r\n", 7), reason)) << reason;
    EXPECT_EQ(content(), std::string("kept\0\r\n", 7));

    const pid_t child = fork();
    if (child == 0) {
        sock_filter close_fails[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_close, 0, 1),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };
        const sock_fprog filter = {std::size(close_fails), close_fails};
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0)
            _exit(3);
        _exit(replace_file(path, "lost", reason) ? 0 : reason == std::strerror(EIO) ? 1 : 2);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << "0: reported as written, 2: another reason";
    EXPECT_EQ(content(), std::string("kept\0\r\n", 7));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // nothing left beside
    fs::remove_all(dir);
}

}  // namespace
