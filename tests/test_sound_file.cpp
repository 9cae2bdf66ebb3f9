// Sound-file output: the reload of a named sound effect and the deletion, a
// file that cannot be created, and the rule that confines the file to the
// module directory (its writes through a request: test_hostile_sound_files).
#include <gtest/gtest.h>

#include <vector>

#include "support/log_lines.h"
#include "support/synth_fixture.h"
#include "synth/confined_path.h"

namespace {

using log_lines::kFileOutputError;

class SoundFile : public synth_test::SynthFixture {
protected:
    void SetUp() override {
        SynthFixture::SetUp();
        image_.assign(58 + kSamples, 0);
        vokari::write_wav_header(image_.data(), kSamples);
        for (int i = 0; i < kSamples; ++i) image_[58 + i] = static_cast<std::uint8_t>(i * 7);
        image.bytes = image_.data();
        image.samples = kSamples;
    }
    void TearDown() override {
        image.bytes = nullptr;  // owned by the test, not the module
        image.samples = 0;
        SynthFixture::TearDown();
    }

    void ask_for(const std::string& argument) { scan.sound_file = vokari::sound_file_request(module_dir, argument, 0); }

    void add_effect(const std::string& name, std::vector<std::uint8_t> data) {
        vokari::SoundEffect effect;
        effect.name = name;
        effect.size = static_cast<std::int32_t>(data.size());
        effect.data = std::move(data);
        sound_effects.push_back(std::move(effect));
    }

    std::vector<std::uint8_t> samples() const { return {image_.begin() + 58, image_.end()}; }
    bool exists(const std::string& relative) const { return !fixture::read_file(native(relative)).empty(); }

    static constexpr int kSamples = 1500;
    std::vector<std::uint8_t> image_;
};

TEST_F(SoundFile, NoRequestWritesNothing) {
    EXPECT_FALSE(write_sound_file());
    scan.sound_file.effect_name = "greeting";
    scan.sound_file.delete_flag = 1;
    EXPECT_FALSE(write_sound_file());
    EXPECT_EQ(log_text(), "");
}

TEST_F(SoundFile, FileThatCannotBeCreatedIsLoggedAndStillCounts) {
    add_effect("greeting", {1, 2, 3});
    ask_for("missing\\a.wav,greeting,1");
    EXPECT_TRUE(write_sound_file());
    EXPECT_EQ(log_text(), kFileOutputError);
    EXPECT_EQ(sound_effects[0].data, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(SoundFile, ReloadsTheNamedEffectThenDeletes) {
    add_effect("hello", {9});
    add_effect("greeting", {1, 2, 3});
    add_effect("greeting", {4, 5});
    ask_for("tmp.wav,greeting,1");
    EXPECT_TRUE(write_sound_file());
    EXPECT_FALSE(exists("tmp.wav"));
    ASSERT_EQ(sound_effects.size(), 3u);
    EXPECT_EQ(sound_effects[1].data, samples());
    EXPECT_EQ(sound_effects[1].size, kSamples);
    EXPECT_EQ(sound_effects[0].data, (std::vector<std::uint8_t>{9}));
    EXPECT_EQ(sound_effects[2].data, (std::vector<std::uint8_t>{4, 5}));  // only the first of the name
}

TEST_F(SoundFile, NamedEffectWithoutADeleteFlagIsReloadedAndTheFileKept) {
    add_effect("greeting", {1, 2, 3});
    ask_for("tmp.wav,greeting");
    EXPECT_TRUE(write_sound_file());
    EXPECT_TRUE(exists("tmp.wav"));
    EXPECT_EQ(sound_effects[0].data, samples());
}

TEST_F(SoundFile, EmptyEffectNameReloadsNothing) {
    add_effect("greeting", {1, 2, 3});
    ask_for("tmp.wav,,1");
    EXPECT_TRUE(write_sound_file());
    EXPECT_FALSE(exists("tmp.wav"));
    EXPECT_EQ(sound_effects[0].data, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(SoundFile, UnknownEffectNameAddsNothingAndKeepsTheFile) {
    add_effect("greeting", {1, 2, 3});
    ask_for("tmp.wav,farewell");
    EXPECT_TRUE(write_sound_file());
    EXPECT_EQ(fixture::read_file(native("tmp.wav")), image_);
    ASSERT_EQ(sound_effects.size(), 1u);
    EXPECT_EQ(sound_effects[0].data, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(SoundFile, DeleteFlagIsADecimalNumber) {
    ask_for("kept.wav,, 0x1");  // reads as 0
    write_sound_file();
    EXPECT_TRUE(exists("kept.wav"));
    ask_for("gone.wav,,-2");
    write_sound_file();
    EXPECT_FALSE(exists("gone.wav"));
}

TEST_F(SoundFile, ReloadFromAShortOrMissingFileLeavesTheEffectEmpty) {
    add_effect("greeting", {1, 2, 3});
    ASSERT_TRUE(fixture::write_file(native("short.wav"), std::vector<std::uint8_t>(57, 0x80)));
    reload_sound_effect("greeting", (dir_ + "\\short.wav").c_str());
    EXPECT_TRUE(sound_effects[0].data.empty());
    EXPECT_EQ(sound_effects[0].size, 0);

    add_effect("other", {1, 2, 3});
    reload_sound_effect("other", (dir_ + "\\none.wav").c_str());
    EXPECT_TRUE(sound_effects[1].data.empty());
    EXPECT_EQ(sound_effects[1].size, 0);

    ASSERT_TRUE(fixture::write_file(native("header.wav"), fixture::wav_header(0)));
    reload_sound_effect("other", (dir_ + "\\header.wav").c_str());
    EXPECT_EQ(sound_effects[1].size, 0);
}

// The whole request is split at commas, the module directory included: a
// comma there cuts the path inside the directory name, which is then refused.
TEST_F(SoundFile, CommaInTheModuleDirectoryCutsThePath) {
    const std::string comma_dir = dir_ + "/x,y";
    ASSERT_TRUE(fixture::make_directory(comma_dir));
    std::strcpy(module_dir, comma_dir.c_str());
    ask_for("a.wav");
    EXPECT_TRUE(write_sound_file());
    EXPECT_EQ(log_text(), kFileOutputError);
    EXPECT_TRUE(fixture::read_file(comma_dir + "/a.wav").empty());
}

TEST(ConfinedPath, InsidePathsOnlyStayInside) {
    const char* inside[] = {"a.wav",
                            "sub\\a.wav",
                            "sub/a.wav",
                            ".\\a.wav",
                            "sub\\..\\a.wav",
                            "a\\b\\..\\..\\c.wav",
                            "console.wav",
                            "com10.wav",
                            "nul-ish.wav",
                            "a..b.wav",
                            "\x83\x5C.wav",  // a trail byte 0x5C is not a separator
                            "\x83\x5C\\..\\a.wav",
                            "\x83\x5C..\\..\\a.wav"};  // nor does it end a name before ".."
    const char* outside[] = {"..",     "..\\a.wav",  "../a.wav",   "a\\..\\..\\b.wav", "\\a.wav",
                             "/a.wav", "\\\\srv\\s", "C:\\a.wav",  "C:a.wav",          "a.wav::$DATA",
                             "CON",    "prn.txt",    "sub\\Aux",   "NUL.wav",          "com1.wav",
                             "LPT9",   "conout$",    "...\\a.wav", ".. \\a.wav",       "\x83\x5C\\..\\..\\a"};
    for (const char* path : inside) EXPECT_TRUE(vokari::stays_inside_directory(path)) << path;
    for (const char* path : outside) EXPECT_FALSE(vokari::stays_inside_directory(path)) << path;
}

}  // namespace
