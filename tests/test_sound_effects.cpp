// The sound-effect list: "se" values, effect files and lookups by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/voice_data_test.h"

namespace {

using voice_test::VoiceDataTest;

class SoundEffectsTest : public VoiceDataTest {
protected:
    void SetUp() override {
        VoiceDataTest::SetUp();
        make_dir("se");
        write("se/bell.wav", fixture::wav_file(ramp(700, 5)));
        write("se/drum.wav", fixture::wav_file(ramp(90, 200)));
    }
};

// Effects are numbered in the order added, their header skipped; only the
// first comma separates name and file; a header alone is a silent effect.
TEST_F(SoundEffectsTest, EffectsAreNumberedInTheOrderAdded) {
    write("se/a,b.wav", fixture::wav_file(ramp(30)));
    write("se/quiet.wav", fixture::wav_header(0));
    add_sound_effect("bell, se\\bell.wav");
    add_sound_effect("drum,se\\drum.wav");
    add_sound_effect("pair, se\\a,b.wav");
    add_sound_effect("quiet, se\\quiet.wav");
    ASSERT_EQ(sound_effects.size(), 4u);
    EXPECT_EQ(find_sound_effect("bell"), 0);
    EXPECT_EQ(find_sound_effect("drum"), 1);
    EXPECT_EQ(find_sound_effect("pair"), 2);
    EXPECT_EQ(sound_effects[0].size, 700);
    EXPECT_EQ(sound_effects[0].data, ramp(700, 5));
    EXPECT_EQ(sound_effects[1].data, ramp(90, 200));
    EXPECT_EQ(sound_effects[2].size, 30);
    EXPECT_EQ(sound_effects[3].name, "quiet");
    EXPECT_EQ(sound_effects[3].size, 0);
    EXPECT_TRUE(sound_effects[3].data.empty());
    EXPECT_EQ(log_text(), "");  // adding effects never logs
}

TEST_F(SoundEffectsTest, LookupIsExactAndFindsTheFirstOfEqualNames) {
    EXPECT_EQ(find_sound_effect("bell"), -1);  // empty list
    add_sound_effect("bell, se\\bell.wav");
    add_sound_effect("bell, se\\drum.wav");
    ASSERT_EQ(sound_effects.size(), 2u);
    EXPECT_EQ(find_sound_effect("bell"), 0);
    EXPECT_EQ(find_sound_effect("Bell"), -1);
    EXPECT_EQ(find_sound_effect("bel"), -1);
    EXPECT_EQ(find_sound_effect("bells"), -1);
    EXPECT_EQ(find_sound_effect(""), -1);
}

TEST_F(SoundEffectsTest, BadValuesAndFilesAddNothing) {
    write("se/short.wav", ramp(57));
    write("se/empty.wav", {});
    const std::string values[] = {
        "bell se\\bell.wav",      // no comma
        ", se\\bell.wav",         // no name
        "bell,   ",               // no file name
        "bell, se\\missing.wav",  // no file
        "bell, se",               // a folder
        "short, se\\short.wav",   // shorter than a header
        "empty, se\\empty.wav",
        "",
        "long, " + std::string(1100, 'x') + ".wav",  // a path that does not fit
    };
    for (const std::string& value : values) add_sound_effect(value.c_str());
    EXPECT_TRUE(sound_effects.empty());
    add_sound_effect("bell, se\\bell.wav");  // later lines still work
    EXPECT_EQ(find_sound_effect("bell"), 0);
}

TEST_F(SoundEffectsTest, ReleaseEmptiesTheSamplesButKeepsTheNumbers) {
    add_sound_effect("bell, se\\bell.wav");
    add_sound_effect("drum, se\\drum.wav");
    release_sound_effects();
    ASSERT_EQ(sound_effects.size(), 2u);
    EXPECT_EQ(find_sound_effect("drum"), 1);
    for (const vokari::SoundEffect& effect : sound_effects) {
        EXPECT_EQ(effect.size, 0);
        EXPECT_TRUE(effect.data.empty());
    }
}

}  // namespace
