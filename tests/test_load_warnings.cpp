// Warnings that load writes once the log is open, about settings it read
// before: a tag prefix that would split two-byte characters, and settings or
// dictionary files saved as UTF-8 instead of Shift_JIS.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vokari.h"
#include "host/module.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"

namespace {

class LoadWarnings : public ::testing::Test {
protected:
    void SetUp() override {
        vokari::platform::set_player(vokari::platform::null_player());
        dir_ = fixture::temp_directory("loadwarn");
    }
    void TearDown() override {
        vokari::unload_module(module_);
        vokari::platform::set_player(nullptr);
        fixture::remove_tree(dir_);
    }
    // Writes a settings file of a log line and `lines` (no samples are needed),
    // loads it into `module_` and returns the log as written so far.
    std::string load(const std::vector<std::string>& lines) {
        std::string settings = "log, load.log\r\n";
        for (const std::string& line : lines) settings += line + "\r\n";
        fixture::write_text(dir_ + "/vokari.txt", settings);
        vokari::unload_module(module_);
        vokari::load_module(module_, dir_.c_str(), static_cast<long>(dir_.size()));
        const std::vector<std::uint8_t> bytes = fixture::read_file(dir_ + "/load.log");
        return std::string(bytes.begin(), bytes.end());
    }
    std::string dir_;
    vokari::Module module_;
};

std::string hex(unsigned char byte) {
    const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[byte >> 4] + digits[byte & 15];
}

// The scanner pairs every byte from 0x80 outside 0xA1-0xDF with the next one,
// so exactly those prefixes are refused; each side of every range edge.
TEST_F(LoadWarnings, TagPrefixThatStartsATwoByteCharacterIsRefused) {
    for (const unsigned char byte : {0x7F, 0x80, 0xA0, 0xA1, 0xDF, 0xE0, 0xFC, 0xFD}) {
        SCOPED_TRACE(hex(byte));
        const bool refused = byte >= 0x80 && !(byte >= 0xA1 && byte <= 0xDF);
        const std::string log = load({"tag.prefix, " + std::string(1, static_cast<char>(byte))});
        const std::string warning = "WARNING : tag.prefix " + hex(byte) +
                                    " starts a two-byte character and would split characters; '@' is used "
                                    "instead.\r\n\r\n// Now loading translate data.";
        EXPECT_EQ(module_.voice.settings.tag_prefix, refused ? '@' : byte);
        EXPECT_EQ(log.find(warning) != std::string::npos, refused);
        EXPECT_EQ(log.find("WARNING") != std::string::npos, refused);
    }
    // A refused line is ignored: an accepted prefix before it stays.
    load({"tag.prefix, #", "tag.prefix, \x81\x97"});
    EXPECT_EQ(module_.voice.settings.tag_prefix, '#');
}

// A full-width at sign as the prefix would make every 0x81 character a tag
// start; refused, the reply is the one that the default prefix gives.
TEST_F(LoadWarnings, FullWidthAtSignPrefixLeavesCharactersWhole) {
    const std::string script = "X MAKOTO/2.0\r\nString: \x82\xa0\x81\x97\x82\xa2\x81\x41\x81\x40\x82\xa4\r\n\r\n";
    fixture::VoiceOptions options;
    fixture::make_voice(dir_, options);
    host_calls::load_directory(dir_);
    const std::string with_default = host_calls::request_text(script).bytes;
    options.settings_lines = {"tag.prefix, \x81\x97"};
    fixture::make_voice(dir_, options);
    host_calls::load_directory(dir_);
    const std::string with_full_width = host_calls::request_text(script).bytes;
    unload();
    EXPECT_NE(with_default.find("\x81\x97\\_w["), std::string::npos) << with_default;
    EXPECT_EQ(with_full_width, with_default);
}

// Valid UTF-8 with a multi-byte character is reported; ASCII, Shift_JIS
// kana and UTF-8 with one broken sequence are not.  The file loads anyway.
TEST_F(LoadWarnings, FileSavedAsUtf8IsReportedAndStillLoaded) {
    const std::string utf8_kana = "\xe3\x81\x82";  // hiragana a in UTF-8
    const std::string sjis_kana = "\x82\xa0";      // the same in Shift_JIS
    const std::string overlong = "\xc0\xaf";       // '/' in an overlong form
    const std::string surrogate = "\xed\xa0\x80";  // U+D800
    struct Case {
        std::string text;
        bool reported;
    };
    const Case cases[] = {{"", false},
                          {"// " + utf8_kana, true},  // a comment line counts too
                          {"// " + sjis_kana, false},
                          {"// " + utf8_kana + overlong, false},
                          {"// " + utf8_kana + surrogate, false},
                          {"// " + utf8_kana + "\xf4\x8f\xbf\xbf", true},    // U+10FFFF
                          {"// " + utf8_kana + "\xf4\x90\x80\x80", false}};  // past it
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fixture::write_text(dir_ + "/user.dic", "abc, def\r\n" + c.text + "\r\n");
        const std::string log = load({"voice.translate.dic, user.dic", c.text});
        const std::string advice =
            " reads as UTF-8 text, but the module reads Shift_JIS. Save it as Shift_JIS.\r\n\r\n";
        const std::string settings_warning =
            "WARNING : " + dir_ + "\\vokari.txt" + advice + "// Now loading translate data.";
        const std::string dictionary_warning =
            "...Done.\r\nWARNING : " + dir_ + "\\user.dic" + advice + "Done.\r\n\r\n";
        EXPECT_EQ(log.find(settings_warning) != std::string::npos, c.reported);
        EXPECT_EQ(log.find(dictionary_warning) != std::string::npos, c.reported);
        EXPECT_EQ(log.find("WARNING") != std::string::npos, c.reported);
        ASSERT_FALSE(module_.dictionary.empty());
        EXPECT_EQ(module_.dictionary.front().search, "abc");
        EXPECT_EQ(module_.dictionary.front().replacement, "def");
    }
}

}  // namespace
