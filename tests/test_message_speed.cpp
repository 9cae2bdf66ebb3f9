// The host's message speed, read from profile files in a host directory tree
// that the tests build below a temporary base directory.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/voice_data_test.h"

namespace {

using voice_test::VoiceDataTest;

class MessageSpeedTest : public VoiceDataTest {
protected:
    void SetUp() override {
        VoiceDataTest::SetUp();
        make_dir("data");
        make_dir("data/profile");
        make_dir("profile");
        for (const char* d : {"ghost", "ghost/emily", "ghost/emily/ghost", "ghost/emily/ghost/master",
                              "ghost/emily/ghost/master/vokari"})
            make_dir(d);
    }

    // Places the module in the character's "ghost\\master\\vokari" folder.
    void module_in_character() { set_module_dir(dir_ + "\\ghost\\emily\\ghost\\master\\vokari"); }

    void write_profiles(const std::string& app_dat, const std::string& mainform) {
        if (!app_dat.empty()) write_text("data/profile/app.dat", app_dat);
        if (!mainform.empty()) write_text("profile/mainform.txt", mainform);
    }

    int discovered() {
        discover_message_speed();
        return settings.message_speed;
    }

    std::string app_dat() const { return dir_ + "\\data\\profile\\app.dat"; }
    std::string mainform() const { return dir_ + "\\profile\\mainform.txt"; }
};

TEST_F(MessageSpeedTest, ModuleBelowGhostMasterReadsTheHostBaseAndLogsBothFiles) {
    module_in_character();
    write_profiles("balloon,none\r\nmessagespeed,45\r\n", "messagespeed, 60\r\n");
    EXPECT_EQ(discovered(), 80);  // the second file wins, scaled by 4/3
    EXPECT_EQ(log_text(), "// Now loading script message speed.\n" + app_dat() + "...Done.\n" + mainform() +
                              "...Done.\nDone. 60[ms]\n\n");
}

// The value found, from a speed of 50, scaled by 4/3 toward zero.
TEST_F(MessageSpeedTest, ProfileValuesAndTheirScaling) {
    module_in_character();
    const struct {
        const char* app_dat;
        const char* mainform;
        int speed;
    } cases[] = {
        {"messagespeed,30\r\n", "windowsize,3\r\n", 40},         // the second file has none
        {"", "MessageSpeed , 100\r\nmessagespeed,20\r\n", 133},  // any case; the first line counts
        {"", "messagespeed,-3\r\n", -4},
        {"", "messagespeed,2000000000\r\n", INT_MAX},  // no overflow
        {"", "messagespeed,fast\r\n", 0},
        {"// messagespeed, 10\r\nmessagespeed, 70 // note\r\n", "", 93},  // no comments in profiles
    };
    for (const auto& c : cases) {
        write_text("data/profile/app.dat", c.app_dat);
        write_text("profile/mainform.txt", c.mainform);
        settings.message_speed = 50;
        EXPECT_EQ(discovered(), c.speed) << c.app_dat << " | " << c.mainform;
    }
}

TEST_F(MessageSpeedTest, MissingFilesKeepTheDefault) {
    module_in_character();
    EXPECT_EQ(discovered(), 66);
    EXPECT_EQ(log_text(), "// Now loading script message speed.\n" + app_dat() + "...Can't open file.\n" + mainform() +
                              "...Can't open file.\nDone. 50[ms]\n\n");
}

TEST_F(MessageSpeedTest, WithoutGhostMasterTheLastTwoFoldersAreDropped) {
    make_dir("a");
    make_dir("a/b");
    set_module_dir(dir_ + "\\a\\b");
    write_profiles("messagespeed,75\r\n", "");
    EXPECT_EQ(discovered(), 100);
}

TEST_F(MessageSpeedTest, BackslashInsideADoubleByteCharacterIsNoSeparator) {
    // "\x95\x5c" is one character whose second byte is a backslash: the two
    // folders dropped are "vokari" and the one holding that character.
    set_module_dir(dir_ + "\\x\x95\x5c\\vokari");
    write_profiles("messagespeed,90\r\n", "");
    EXPECT_EQ(discovered(), 120);
    EXPECT_NE(log_text().find("\n" + app_dat() + "...Done.\n"), std::string::npos) << log_text();
}

// A profile path may fill the module's path buffers but for the final zero.
TEST_F(MessageSpeedTest, ProfilePathsLongerThanThePathBuffersAreRefused) {
    write_profiles("", "messagespeed,90\r\n");
    const std::size_t file_name = std::string("\\profile\\mainform.txt").size();
    for (const std::size_t length : {vokari::kPathCapacity - 1, vokari::kPathCapacity}) {
        // Repeated separators pad the base to the length wanted.
        set_module_dir(dir_ + std::string(length - file_name - dir_.size(), '/') + "\\a\\b");
        settings.message_speed = 50;
        const bool fits = length < vokari::kPathCapacity;
        EXPECT_EQ(discovered(), fits ? 120 : 66) << length;
        EXPECT_EQ(log_text().find("mainform.txt...Path too long.\n") != std::string::npos, !fits) << log_text();
    }
}

}  // namespace
