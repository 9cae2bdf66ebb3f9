// vokari-say driving the real module library with the fixture voice: the
// reply's wait tags, the saved WAV and the picture must agree with each other.
#include <dirent.h>
#include <stdlib.h>
#include <gtest/gtest.h>

#include <regex>

#include "run_program.h"
#include "support/fixture_voice.h"

namespace {

using say_test::RunResult;
using say_test::run_say;

std::uint32_t le32(const std::vector<std::uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

class WithModule : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fixture::temp_directory("say-module");
        module_dir_ = dir_ + "/voice";
        fixture::make_voice(module_dir_);
        // vokari-say asks the stand-in module for a sound device, and finds one.
        setenv("VOKARI_SAY_PORTAUDIO", VOKARI_SAY_STUB_MODULE, 1);
    }
    void TearDown() override {
        unsetenv("VOKARI_SAY_PORTAUDIO");
        fixture::remove_tree(dir_);
    }

    RunResult say(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--library", VOKARI_SAY_MODULE, "--module-dir", module_dir_});
        return run_say(arguments);
    }

    // Files that vokari-say left in the module directory.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        DIR* dir = opendir(module_dir_.c_str());
        while (dirent* entry = dir ? readdir(dir) : nullptr)
            if (std::string(entry->d_name).rfind("vokari-say-", 0) == 0) names.push_back(entry->d_name);
        if (dir) closedir(dir);
        return names;
    }

    std::string dir_;
    std::string module_dir_;
};

TEST_F(WithModule, ReplyWaitsMatchTheLengthOfTheSavedSound) {
    const std::string wav_path = dir_ + "/hello.wav";
    const RunResult r = say({"--no-play", "-o", wav_path, "こんにちは"});
    ASSERT_EQ(r.exit_status, 0) << r.err;

    // Each of the five characters is followed by the same wait W.
    std::smatch match;
    const std::regex pattern("こ\\\\_w\\[(\\d+)\\]ん\\\\_w\\[\\1\\]に\\\\_w\\[\\1\\]ち\\\\_w\\[\\1\\]は\\\\_w\\[\\1\\]\n");
    ASSERT_TRUE(std::regex_match(r.out, match, pattern)) << r.out;
    const int wait_ms = std::stoi(match[1]);

    const std::vector<std::uint8_t> wav = fixture::read_file(wav_path);
    ASSERT_GT(wav.size(), 58u + 1000u);
    const std::uint32_t samples = static_cast<std::uint32_t>(wav.size() - 58);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(le32(wav, 4), samples + 50);
    EXPECT_EQ(wav[20], 7);  // mu-law
    EXPECT_EQ(le32(wav, 24), 22050u);
    EXPECT_EQ(le32(wav, 46), samples);
    EXPECT_EQ(le32(wav, 54), samples);

    // W = total / 5 - (50 * 4 / 3 + 45) with the default message speed, so the
    // total lies in [5 (W + 111), 5 (W + 111) + 4] and the sound holds
    // total * 22050 / 1000 samples after its 1000-sample lead-in.
    const long least_ms = 5L * (wait_ms + 111);
    EXPECT_GE(samples, least_ms * 22050 / 1000 + 1000);
    EXPECT_LE(samples, (least_ms + 4) * 22050 / 1000 + 1000);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(WithModule, PlayedAndSilentOutputRenderTheSameSound) {
    const RunResult played = say({"--no-wait", "-o", dir_ + "/played.wav", "ｺﾝﾆﾁﾊ漢字"});
    const RunResult silent = say({"--no-play", "--saori", "-o", dir_ + "/silent.wav", "ｺﾝﾆﾁﾊ漢字"});
    ASSERT_EQ(played.exit_status, 0) << played.err;
    ASSERT_EQ(silent.exit_status, 0) << silent.err;
    EXPECT_EQ(played.out, silent.out);
    EXPECT_EQ(played.out.rfind("ｺ", 0), 0u) << played.out;
    EXPECT_NE(played.out.find("漢"), std::string::npos) << played.out;
    EXPECT_EQ(fixture::read_file(dir_ + "/played.wav"), fixture::read_file(dir_ + "/silent.wav"));
}

TEST_F(WithModule, VoiceControlTagsNeverReachTheReply) {
    const RunResult r = say({"--no-play", "-o", dir_ + "/a.wav", "@+[3]あ@<い"});
    ASSERT_EQ(r.exit_status, 0) << r.err;
    EXPECT_EQ(r.out.find('@'), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("wavout"), std::string::npos) << r.out;
}

TEST_F(WithModule, SettingsPrefixIsUsedForTheSoundFileRequest) {
    fixture::remove_tree(module_dir_);
    fixture::VoiceOptions options;
    options.settings_lines = {"tag.prefix, !"};
    fixture::make_voice(module_dir_, options);
    const RunResult r = say({"--no-play", "-o", dir_ + "/a.wav", "あ"});
    ASSERT_EQ(r.exit_status, 0) << r.err;
    EXPECT_GT(fixture::read_file(dir_ + "/a.wav").size(), 58u + 1000u);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(WithModule, NothingSpokenMeansNoSoundFile) {
    const RunResult r = say({"--no-play", "-o", dir_ + "/a.wav", "@nこんにちは"});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_NE(r.err.find("the module rendered no sound"), std::string::npos) << r.err;
    EXPECT_TRUE(fixture::read_file(dir_ + "/a.wav").empty());
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(WithModule, PictureHoldsTheWaveformAndEveryCharacter) {
    const RunResult r = say({"--no-play", "--svg", dir_ + "/a.svg", "\\0あい\\1うえ"});
    ASSERT_EQ(r.exit_status, 0) << r.err;
    const std::vector<std::uint8_t> bytes = fixture::read_file(dir_ + "/a.svg");
    const std::string svg(bytes.begin(), bytes.end());
    EXPECT_NE(svg.find("<path stroke='#333'"), std::string::npos);
    for (const char* main_character : {">あ<", ">い<"}) EXPECT_NE(svg.find("'#1f5fbf'" + std::string(main_character)), std::string::npos);
    for (const char* partner : {">う<", ">え<"}) EXPECT_NE(svg.find("'#c0392b'" + std::string(partner)), std::string::npos);
}

}  // namespace
