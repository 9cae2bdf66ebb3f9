// oto.ini text from memory: telling Shift_JIS from UTF-8 at the edges of
// the lead-byte ranges, line ends, and times that are plain decimals only.
#include <gtest/gtest.h>

#include <string>

#include "folder_index.h"
#include "kana_alias.h"
#include "oto_ini.h"
#include "syllables.h"

using namespace vokari::voicebank;

namespace {

// One entry whose alias is the given raw bytes.
std::string entry_with_alias(const std::string& alias) { return "x.wav=" + alias + ",1,2,3,4,5\r\n"; }

}  // namespace

TEST(OtoIni, ShiftJisLeadBytesAtTheEdgesOfTheirRanges) {
    // Lead bytes 0x81, 0x9F, 0xE0, 0xFC (with a trail byte) and the single
    // half-width katakana 0xA1 and 0xDF are Shift_JIS; 0x80, 0xA0 and 0xFD
    // are not, and such a file cannot be told.
    for (const std::string alias : {"\x81\x41", "\x9F\x40", "\xE0\x40", "\xFC\x40", "\xA1", "\xDF"}) {
        const OtoFile file = parse_oto_ini(entry_with_alias(alias));
        EXPECT_EQ(file.encoding, "Shift_JIS") << std::hex << (alias[0] & 0xFF);
        EXPECT_EQ(file.entries.size(), 1u);
    }
    for (const std::string alias : {"\x80\x40", "\xA0", "\xFD\x40"}) {
        const OtoFile file = parse_oto_ini(entry_with_alias("a") + entry_with_alias(alias));
        EXPECT_TRUE(file.entries.empty()) << std::hex << (alias[0] & 0xFF);
        ASSERT_EQ(file.problems.size(), 1u);
        EXPECT_EQ(file.problems[0].line, 2);
    }
    // か in Shift_JIS comes back as UTF-8 and names its slot.
    const OtoFile ka = parse_oto_ini("\x82\xa9.wav=,0,1,-2,0.5,0");
    ASSERT_EQ(ka.entries.size(), 1u);
    EXPECT_EQ(slot_of_alias(ka.entries[0].alias).slot, slot_of_romaji("ka"));
}

TEST(OtoIni, LineEndsBomAndEmptyAliases) {
    const OtoFile file = parse_oto_ini(
        "\xEF\xBB\xBF"
        "A.WAV=,1,2,3,4,5\r\n\r\nb.wav=- b,1,2,3,4,5\rc.wav=c,1,2,3,4\n");
    EXPECT_EQ(file.encoding, "UTF-8 with BOM");
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0].alias, "A");
    EXPECT_EQ(file.entries[1].line, 3);
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_EQ(file.problems[0].line, 4);
}

TEST(OtoIni, TimesArePlainDecimalNumbers) {
    double value = 0.0;
    for (const char* good : {"0", "-12.5", "+0.25", ".5", "7."}) EXPECT_TRUE(parse_decimal(good, value)) << good;
    EXPECT_TRUE(parse_decimal("-.5", value));
    EXPECT_EQ(value, -0.5);
    for (const char* bad : {"", "-", ".", "0x10", "1e3", "inf", "nan", "1 2", "12ms", "1234567890123456"}) {
        EXPECT_FALSE(parse_decimal(bad, value)) << bad;
    }
    // A line with a bad time names that time and its text, the last one too;
    // seven fields are refused as a whole.
    const OtoFile file = parse_oto_ini("a.wav=a,1,2,x,4,5\nb.wav=b,1,2,3,4,y\nc.wav=c,1,2,3,4,5,6\n");
    ASSERT_EQ(file.problems.size(), 3u);
    EXPECT_NE(file.problems[0].message.find("cutoff \"x\""), std::string::npos) << file.problems[0].message;
    EXPECT_NE(file.problems[1].message.find("overlap \"y\""), std::string::npos) << file.problems[1].message;
    EXPECT_NE(file.problems[2].message.find("7 fields"), std::string::npos) << file.problems[2].message;
    EXPECT_TRUE(file.entries.empty());
}

TEST(FolderIndex, AnExactNameWinsOverTheSameInOtherCase) {
    const FolderIndex index({"A.wav", "a.wav"});
    EXPECT_EQ(index.find_name("a.wav"), "a.wav");
    EXPECT_EQ(index.find_name("A.WAV"), "A.wav");
}

TEST(KanaAlias, KanaKatakanaRomajiAndPhraseStartNameOneSlot) {
    const int kya = slot_of_romaji("kya");
    for (const char* alias : {"きゃ", "キャ", "kya", "KYA"}) EXPECT_EQ(slot_of_alias(alias).slot, kya) << alias;
    EXPECT_EQ(slot_of_alias("- きゃ").kind, AliasKind::PhraseStart);
    EXPECT_EQ(slot_of_alias("-kya").slot, kya);
    EXPECT_EQ(slot_of_alias("tu").slot, slot_of_romaji("tsu"));
    EXPECT_EQ(slot_of_alias("ヲ").slot, slot_of_romaji("wo"));
    for (const char* other : {"a か", "-", "息", "ka2", ""})
        EXPECT_EQ(slot_of_alias(other).kind, AliasKind::Other) << other;
}
