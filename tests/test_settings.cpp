// The settings file and its defaults, the settings text as the programs around
// the module read it, and the configuration-text routines that every reader
// shares: blanks, trailing comments, the key/value split.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/fixture_voice.h"
#include "support/module_state.h"
#include "voice_data/config_text.h"
#include "vokari_settings_text.h"

namespace {

// `text` after `edit` changed it in place as a C string.
std::string edited(void (*edit)(char*), const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    edit(buffer.data());
    return buffer.data();
}

TEST(ConfigText, TrimBlanksAtBothEndsButNeverInsideACharacter) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {" \t a b \t ", "a b"},
        {"\x81\x40\x81\x40value\x81\x40 ", "value"},
        {"\x81\x40 \t", ""},
        {"", ""},
        // "＝" (81 81) then '@' (40): its last two bytes read 81 40, which is
        // not a full-width space here.
        {"\x81\x81@", "\x81\x81@"},
        {" \x95\x5c ", "\x95\x5c"},  // a kanji whose trail byte is 0x5C
    };
    for (const auto& c : cases) EXPECT_EQ(edited(vokari::trim_blanks, c.text), c.expected) << c.text;
    std::string header = "\t name \x81\x40";
    vokari::trim_blanks(header);
    EXPECT_EQ(header, "name");
}

TEST(ConfigText, CommentIsCutOnlyAfterABlankOutsideQuotes) {
    const struct {
        const char* line;
        const char* expected;
    } cases[] = {
        {"talk.default.speed , 150 // faster", "talk.default.speed , 150"},
        {"a,b\t//tab comment", "a,b"},
        {"url,http://example", "url,http://example"},
        {"a,150//x", "a,150//x"},
        {"a,\"x //y\"", "a,\"x //y\""},
        {"a,\"x //y\" // z", "a,\"x //y\""},
        {"// whole line", "// whole line"},
        {"   // only a comment", ""},
        {"a,b//c //d", "a,b//c"},
        {"a,\\\" // cut", "a,\\\""},  // an escaped quote opens no quotes
    };
    for (const auto& c : cases) EXPECT_EQ(edited(vokari::strip_comment, c.line), c.expected) << c.line;
}

TEST(ConfigText, KeyAndValueSplitAtTheFirstCommaOutsideQuotes) {
    const struct {
        const char* line;
        bool ok;
        const char* key;
        const char* value;
    } cases[] = {
        {" key \t,\x81\x40 value, more ", true, "key", "value, more"},
        {"\"a,b\",c", true, "\"a,b\"", "c"},
        {",", true, "", ""},
        // "表" (95 5C) before a closing quote: the quote still closes.
        {"\"\x95\x5c\",\x83\x94", true, "\"\x95\x5c\"", "\x83\x94"},
        {"no separator", false, "", ""},
        {"\"a,b\"", false, "", ""},
        {"\"a,b", false, "", ""},
        {"\"a\\\",b", false, "", ""},  // a real backslash escapes the quote
    };
    for (const auto& c : cases) {
        const auto found = vokari::split_key_value(c.line);
        ASSERT_EQ(found.has_value(), c.ok) << c.line;
        if (found) {
            EXPECT_EQ(found->key, c.key) << c.line;
            EXPECT_EQ(found->value, c.value) << c.line;
        }
    }
}

// A module directory of its own with a settings file written per test.
class SettingsFile : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        dir_ = fixture::temp_directory("settings");
        std::strcpy(module_dir, dir_.c_str());
    }
    void TearDown() override { fixture::remove_tree(dir_); }
    // Writes vokari.txt (CR LF line ends) and reads it over the defaults.
    std::vector<std::string> read(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        EXPECT_TRUE(fixture::write_text(dir_ + "/vokari.txt", text));
        std::vector<std::string> names;
        load_defaults();
        read_settings(names);
        return names;
    }
    std::string dir_;
};

TEST_F(SettingsFile, DefaultsWithoutAFile) {
    // What an earlier load set does not outlive the next one.
    settings.tag_prefix = '!';
    settings.security_high = 1;
    std::strcpy(settings.log_path, "old.log");
    std::strcpy(settings.reading_dic_path, "old");
    settings.accent_depth = 6.0;
    std::strcpy(settings.prosody_model_path, "old.htsvoice");
    settings.prosody_range = settings.prosody_tempo = 0.5;
    std::vector<std::string> names;
    load_defaults();
    read_settings(names);
    EXPECT_EQ(settings_fields(), SettingsFields("", '@', 130, 1.0, 1.0, 0, 0));
    EXPECT_EQ(settings.message_speed, 50);
    EXPECT_STREQ(settings.reading_dic_path, "");
    EXPECT_EQ(settings.accent_depth, 0.0);
    EXPECT_STREQ(settings.prosody_model_path, "");
    EXPECT_EQ(settings.prosody_range, 1.0);
    EXPECT_EQ(settings.prosody_tempo, 1.0);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(sound_effects.empty());
}

TEST_F(SettingsFile, EveryKeySetsItsField) {
    const std::vector<std::string> names = read({
        "log, logs\\vokari.log",
        "tag.prefix, #$%",
        "talk.default.speed , 150 // a trailing comment",
        "adjust.frequency.sakura, 1.25",
        "adjust.frequency.kero,0.5x",
        "delete.excess.hv1, on",
        "security.level, high",
        "voice.translate.dic, first.dic",
        "voice.translate.dic, second.dic",
        "voice.translate.dic,",
    });
    EXPECT_EQ(settings_fields(), SettingsFields(dir_ + "\\logs\\vokari.log", '#', 150, 1.25, 0.5, 1, 1));
    EXPECT_EQ(names, (std::vector<std::string>{"first.dic", "second.dic", ""}));
}

TEST_F(SettingsFile, KeysAreCaseSensitiveAndCommentLinesAreSkipped) {
    read({"Log, x.log", "TALK.DEFAULT.SPEED, 99", "//talk.default.speed, 98", "  // talk.default.speed, 97",
          "talk.default.speed 96", "unknown.key, 1"});
    EXPECT_STREQ(settings.log_path, "");
    EXPECT_EQ(settings.talk_default_speed, 130);
}

TEST_F(SettingsFile, ValuesAreReadUpToTheirFirstNonDigit) {
    read({"talk.default.speed, 150//no blank before", "adjust.frequency.sakura, fast"});
    EXPECT_EQ(settings.talk_default_speed, 150);
    EXPECT_EQ(settings.speaker_frequency[0], 0.0);
}

TEST_F(SettingsFile, ScalarsTakeTheLastLineButFlagsOnlySwitchOn) {
    read({"talk.default.speed, 100", "talk.default.speed, 120", "security.level, high", "security.level, low",
          "delete.excess.hv1, on", "delete.excess.hv1, off", "tag.prefix,",
          "\x81\x40"
          "adjust.frequency.kero"
          "\x81\x40,\x81\x40"
          "2\x81\x40"});
    EXPECT_EQ(settings.talk_default_speed, 120);
    EXPECT_EQ(settings.security_high, 1);
    EXPECT_EQ(settings.delete_excess_hv1, 1);
    EXPECT_EQ(settings.tag_prefix, 0);
    EXPECT_EQ(settings.speaker_frequency[1], 2.0);
}

TEST_F(SettingsFile, LogPathThatDoesNotFitLeavesLoggingOff) {
    read({"log, " + std::string(vokari::kPathCapacity, 'x')});
    EXPECT_STREQ(settings.log_path, "");
}

TEST_F(SettingsFile, SoundEffectLinesLoadTheirEffectsInOrder) {
    const std::vector<std::uint8_t> wav = fixture::wav_file({0x10, 0x20, 0x30});
    ASSERT_TRUE(fixture::write_file(dir_ + "/a,b.wav", wav));
    ASSERT_TRUE(fixture::write_file(dir_ + "/c.wav", wav));
    read({"se, first, a,b.wav", "se, second , c.wav", "se, missing, none.wav", "se, nofile"});
    ASSERT_EQ(sound_effects.size(), 2u);
    EXPECT_EQ(sound_effects[0].name, "first");
    EXPECT_EQ(sound_effects[1].name, "second");
    EXPECT_EQ(sound_effects[0].size, 3);
}

// What the programs around the module read of a settings text is what load
// keeps of it.
TEST(SettingsText, IsReadAsLoadReadsIt) {
    using namespace vokari;
    const std::string dir = fixture::temp_directory("settings-text");
    EXPECT_EQ(tag_prefix_setting(read_settings_text(dir.c_str())), '@');  // no vokari.txt
    EXPECT_EQ(talk_default_speed_setting(""), 130);
    // A folder name whose last UTF-8 byte (0x82 of あ) Shift_JIS takes for a lead byte.
    const std::string folder = dir + "/\xE3\x81\x82";
    fixture::make_directory(folder);
    fixture::write_text(folder + "/vokari.txt", "// tag.prefix, #\ntag.prefix , !x\r\nlog, a.log\n");
    EXPECT_EQ(tag_prefix_setting(read_settings_text(folder.c_str())), '!');
    EXPECT_EQ(tag_prefix_setting("tag.prefix,%\ntag.prefix,\x81\x40$ //comment\n"), '$');
    EXPECT_EQ(tag_prefix_setting("tag.prefix, //nothing\n"), '\0');
    // A byte that starts a double-byte character is refused by the module.
    for (int byte : {0x7F, 0x80, 0xA0, 0xA1, 0xDF, 0xE0, 0xFC, 0xFD}) {
        const bool lead = byte >= 0x80 && !(byte >= 0xA1 && byte <= 0xDF);
        const std::string line = "tag.prefix," + std::string(1, static_cast<char>(byte)) + "A\n";
        EXPECT_EQ(tag_prefix_setting(line), lead ? '@' : static_cast<char>(byte)) << std::hex << byte;
    }
    // Nothing after the end-of-file byte counts; every dictionary line does.
    EXPECT_EQ(talk_default_speed_setting("talk.default.speed, 0\r\n\x1Atalk.default.speed,130\n"), 0);
    EXPECT_EQ(setting_values("voice.translate.dic,a.txt\nvoice.translate.dic , b.txt // more\n", "voice.translate.dic"),
              (std::vector<std::string>{"a.txt", "b.txt"}));
    fixture::remove_tree(dir);
}

}  // namespace
