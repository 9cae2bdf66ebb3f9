// vokari-say driving the real module library with the fixture voice: the
// reply's wait tags, the saved WAV and the picture must agree with each other.
#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "run_program.h"
#include "support/fixture_voice.h"

namespace {

using say_test::run_say;
using say_test::RunResult;

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

    // The voice folder made anew: the fixture voice with `settings_lines`.
    void remake_voice(const std::vector<std::string>& settings_lines) {
        fixture::remove_tree(module_dir_);
        fixture::VoiceOptions options;
        options.settings_lines = settings_lines;
        fixture::make_voice(module_dir_, options);
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

    // Every file and folder below `folder` with its size and time of change.
    static std::string listing(const std::string& folder) {
        std::string text;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            text += entry.path().string() + " " + std::to_string(entry.is_regular_file() ? entry.file_size() : 0) +
                    " " + std::to_string(entry.last_write_time().time_since_epoch().count()) + "\n";
        }
        return text;
    }

    // Takes write access to the voice folder away, or gives it back.
    void set_writable(bool writable) {
        namespace fs = std::filesystem;
        const fs::perm_options how = writable ? fs::perm_options::add : fs::perm_options::remove;
        fs::permissions(module_dir_, fs::perms::owner_write, how);
        for (const auto& entry : fs::recursive_directory_iterator(module_dir_))
            fs::permissions(entry.path(), fs::perms::owner_write, how);
    }

    // The first wait of a reply that begins with "こ".
    static int first_wait(const std::string& reply) {
        std::smatch match;
        return std::regex_search(reply, match, std::regex("^こ\\\\_w\\[(\\d+)\\]")) ? std::stoi(match[1]) : -1;
    }

    std::string dir_;
    std::string module_dir_;
};

TEST_F(WithModule, ReplyWaitsMatchTheLengthOfTheSavedSound) {
    const std::string wav_path = dir_ + "/hello.wav";
    const RunResult r = say({"--no-play", "-o", wav_path, "こんにちは"});
    ASSERT_EQ(r.status, 0) << r.err;

    // Each of the five characters is followed by the same wait W.
    std::smatch match;
    const std::regex pattern(
        "こ\\\\_w\\[(\\d+)\\]ん\\\\_w\\[\\1\\]に\\\\_w\\[\\1\\]ち\\\\_w\\[\\1\\]は\\\\_w\\[\\1\\]\n");
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
    ASSERT_EQ(played.status, 0) << played.err;
    ASSERT_EQ(silent.status, 0) << silent.err;
    EXPECT_EQ(played.out, silent.out);
    EXPECT_EQ(played.out.rfind("ｺ", 0), 0u) << played.out;
    EXPECT_NE(played.out.find("漢"), std::string::npos) << played.out;
    EXPECT_EQ(fixture::read_file(dir_ + "/played.wav"), fixture::read_file(dir_ + "/silent.wav"));
}

TEST_F(WithModule, VoiceControlTagsNeverReachTheReply) {
    const RunResult r = say({"--no-play", "-o", dir_ + "/a.wav", "@+[3]あ@<い"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find('@'), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("wavout"), std::string::npos) << r.out;
}

TEST_F(WithModule, SettingsPrefixIsUsedForTheSoundFileRequest) {
    remake_voice({"tag.prefix, !"});
    const RunResult r = say({"--no-play", "-o", dir_ + "/a.wav", "あ"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(fixture::read_file(dir_ + "/a.wav").size(), 58u + 1000u);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

// Nothing to say is the same silence with or without a file to save.
TEST_F(WithModule, NothingSpokenMeansNoSoundFile) {
    const RunResult r = say({"--no-play", "-o", dir_ + "/a.wav", "@nこんにちは"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("the module rendered no sound, so nothing was saved"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("the script has nothing to say"), std::string::npos) << r.err;
    EXPECT_TRUE(fixture::read_file(dir_ + "/a.wav").empty());
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(WithModule, PictureHoldsTheWaveformAndEveryCharacter) {
    const RunResult r = say({"--no-play", "--svg", dir_ + "/a.svg", "\\0あい\\1うえ"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::uint8_t> bytes = fixture::read_file(dir_ + "/a.svg");
    const std::string svg(bytes.begin(), bytes.end());
    EXPECT_NE(svg.find("<path stroke='#333'"), std::string::npos);
    for (const char* main_character : {">あ<", ">い<"})
        EXPECT_NE(svg.find("'#1f5fbf'" + std::string(main_character)), std::string::npos);
    for (const char* partner : {">う<", ">え<"})
        EXPECT_NE(svg.find("'#c0392b'" + std::string(partner)), std::string::npos);
}

// A voice whose dictionary rewrites "vokari" (the guide's own line) and whose
// folder cannot be written: saving, drawing and silent runs all work, the
// folder stays as it was, and the private copy is gone afterwards.
TEST_F(WithModule, VoiceFolderIsOnlyRead) {
    remake_voice({"voice.translate.dic,dictionary.txt", "log,voice.log"});
    fixture::write_text(module_dir_ + "/dictionary.txt", "vokari,\x82\xDA\x82\xA9\x82\xE8\r\n");
    fixture::make_directory(module_dir_ + "/effects");
    const std::string before = listing(module_dir_);
    const std::string temporary = dir_ + "/tmp";
    fixture::make_directory(temporary);
    set_writable(false);
    setenv("TMPDIR", temporary.c_str(), 1);
    const RunResult saved = say({"--no-play", "-o", dir_ + "/a.wav", "vokari"});
    const RunResult drawn = say({"--no-play", "--svg", dir_ + "/a.svg", "あ"});
    const RunResult silent = say({"--no-play", "あ"});
    // The script's own sound file, in a folder of the voice.
    const RunResult own_file = say({"--no-play", "@wavout[effects\\x.wav]あ"});
    unsetenv("TMPDIR");
    set_writable(true);

    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "vokari\n");  // too short a pause to show the wait
    EXPECT_GT(fixture::read_file(dir_ + "/a.wav").size(), 58u + 1000u);
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(silent.status, 0) << silent.err;
    EXPECT_EQ(own_file.status, 0) << own_file.err;
    EXPECT_NE(own_file.err.find("asks for a sound file of its own"), std::string::npos) << own_file.err;
    EXPECT_EQ(listing(module_dir_), before);
    EXPECT_EQ(listing(temporary), "");
}

TEST_F(WithModule, MessageSpeedReachesTheModule) {
    // The module takes 4/3 of the host's speed and 45 ms more from each wait:
    // 85 ms a character at 30 ms, 111 ms at 50 ms.
    const RunResult quick = say({"--no-play", "--message-speed", "30", "こんにちは"});
    const RunResult usual = say({"--no-play", "こんにちは"});
    ASSERT_EQ(quick.status, 0) << quick.err;
    ASSERT_EQ(usual.status, 0) << usual.err;
    ASSERT_GE(first_wait(usual.out), 0) << usual.out;
    EXPECT_EQ(first_wait(quick.out), first_wait(usual.out) + 26) << quick.out;
}

TEST_F(WithModule, EverySilenceIsExplainedAndNoSuccess) {
    const RunResult too_high = run_say({"--library", VOKARI_SAY_MODULE, "--module-dir", dir_, "--no-play", "あ"});
    EXPECT_EQ(too_high.status, 3);
    EXPECT_NE(too_high.err.find(dir_ + " holds no samples"), std::string::npos) << too_high.err;
    EXPECT_NE(too_high.err.find("try --module-dir " + module_dir_), std::string::npos) << too_high.err;

    // About 46 s of speech is spoken in full; 49 s pass the module's limit.
    const RunResult in_full = say({"--no-play", "\\_w[46000]あ"});
    EXPECT_EQ(in_full.status, 0) << in_full.err;
    const RunResult cut = say({"--no-play", "\\_w[49000]あ"});
    EXPECT_EQ(cut.status, 3);
    EXPECT_NE(cut.err.find("the module's log: WARNING : システムリミット値を越える"), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("cut at the module's limit of 47.6 s"), std::string::npos) << cut.err;

    // Kanji without a reading: silence with punctuation, or no sound at all.
    for (const char* unread : {"今日、雨", "雨"}) {
        const RunResult kanji = say({"--no-play", unread});
        EXPECT_EQ(kanji.status, 3) << unread;
        EXPECT_NE(kanji.err.find("kanji have no reading"), std::string::npos) << unread << kanji.err;
        EXPECT_EQ(kanji.err.find("samples"), std::string::npos) << unread << kanji.err;
    }

    // A comment saved as UTF-8 adds a WARNING, which is no failure of the module.
    remake_voice({"talk.default.speed,0", "// \xe3\x81\x82"});
    const RunResult muted = say({"--no-play", "こんにちは"});
    EXPECT_EQ(muted.status, 3);
    EXPECT_NE(muted.err.find("the module's log: WARNING"), std::string::npos) << muted.err;
    EXPECT_NE(muted.err.find("talk.default.speed is 0"), std::string::npos) << muted.err;
}

// --no-play keeps the module from playing even when the script asks for a
// played sound file of its own; without it, that script is played.  The
// module finds the stand-in sound library, which records each stream.
TEST_F(WithModule, NoPlayPlaysNothingEvenForTheScriptsOwnSoundFile) {
    const std::string library_dir = dir_ + "/lib", records = dir_ + "/records";
    fixture::make_directory(library_dir);
    fixture::make_directory(records);
    ASSERT_EQ(symlink(VOKARI_SAY_STUB_MODULE, (library_dir + "/libportaudio.so.2").c_str()), 0);
    setenv("LD_LIBRARY_PATH", library_dir.c_str(), 1);
    setenv("VOKARI_SAY_STUB_RECORDS", records.c_str(), 1);
    const RunResult silent = say({"--no-play", "@wavout[own.wav]あ"});
    const std::vector<std::uint8_t> streams_silent = fixture::read_file(records + "/stub-calls.txt");
    const RunResult played = say({"--no-wait", "@wavout[own.wav]あ"});
    unsetenv("VOKARI_SAY_STUB_RECORDS");
    unsetenv("LD_LIBRARY_PATH");
    EXPECT_EQ(silent.status, 0) << silent.err;
    EXPECT_TRUE(streams_silent.empty()) << "the module opened a stream with --no-play";
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_FALSE(fixture::read_file(records + "/stub-calls.txt").empty()) << "the played script opened no stream";
}

// A dictionary that vokari.txt names but that is not there is named, the
// one that was read is not, and the script is still spoken.
TEST_F(WithModule, DictionaryThatCannotBeReadIsNamed) {
    remake_voice({"voice.translate.dic,mine.dic", "voice.translate.dic,gone.dic"});
    fixture::write_text(module_dir_ + "/mine.dic", "x,\x82\xA0\r\n");
    const RunResult r = say({"--no-play", "あ"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("the module's log: a dictionary named in vokari.txt: " + module_dir_ +
                         "/gone.dic...Can't open file."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("mine.dic"), std::string::npos) << r.err;
}

// --reading passes the module's warnings on as well, and still succeeds.
TEST_F(WithModule, ReadingShowsTheModulesWarnings) {
    remake_voice({"voice.reading.dic,naist-jdic", "// \xe3\x81\x82"});
    std::filesystem::create_directory_symlink(VOKARI_SOURCE_DIR "/voices/default/naist-jdic",
                                              module_dir_ + "/naist-jdic");
    const RunResult read = say({"--reading", "雨"});
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out, "あ め\n");
    EXPECT_NE(read.err.find("the module's log: WARNING"), std::string::npos) << read.err;
}

}  // namespace
