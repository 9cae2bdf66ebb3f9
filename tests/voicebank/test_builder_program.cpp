// vokari-voicebank as a user meets it: exit statuses, failures that leave
// the module folder alone, and recordings that must not be written as if
// they were fine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "program_runner.h"
#include "recording_checks.h"
#include "syllables.h"
#include "synthetic_speech.h"

using namespace vokari::voicebank;
using program_runner::fresh_folder;
using program_runner::ProgramRun;
using program_runner::snapshot;
using synthetic::ms;
namespace fs = std::filesystem;

namespace {

// A module folder holding an old bank that a failed run must not touch.
fs::path module_with_old_bank(const std::string& name) {
    const fs::path module = fresh_folder(name);
    fs::create_directories(module / "vokariv0");
    std::ofstream(module / "vokariv0" / "0.wav") << "old bank";
    return module;
}

std::vector<float> held_vowel(double amplitude) { return synthetic::vowel(ms(500), 130.0, amplitude); }

std::vector<float> consonant_vowel() {
    return synthetic::join(synthetic::join(synthetic::silence(ms(30)), synthetic::fricative(ms(100), 0.08)),
                           synthetic::vowel(ms(300), 130.0, 0.5));
}

// Recordings of every syllable, or of all but `missing`.
fs::path complete_recordings(const std::string& name, const std::string& missing = "") {
    const fs::path folder = fresh_folder(name);
    const std::vector<float> vowel = held_vowel(0.5);
    const std::vector<float> syllable = consonant_vowel();
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        if (kSyllables[slot].romaji == missing) continue;
        program_runner::write_wav((folder / (std::string(kSyllables[slot].romaji) + ".wav")).string(),
                                  is_vowel_syllable(slot) ? vowel : syllable);
    }
    return folder;
}

}  // namespace

TEST(BuilderProgram, HelpAndUsageErrorsHaveTheirOwnStatuses) {
    const ProgramRun help = program_runner::voicebank({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* line : {"usage: vokari-voicebank", "  0  bank written", "  1  failed", "  2  usage error",
                             "  3  bank written with warnings"}) {
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    }
    const fs::path module = module_with_old_bank("voicebank_usage_module");
    const fs::path recordings = fresh_folder("voicebank_usage_recordings");
    const auto before = snapshot(module.string());
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {recordings.string()},
        {recordings.string(), module.string(), "third"},
        {"--speaker", "2", recordings.string(), module.string()},
        {"--speaker", "-1", recordings.string(), module.string()},
        {"--speaker", "1x", recordings.string(), module.string()},
        {recordings.string(), module.string(), "--speaker"},
        {"--loud", recordings.string(), module.string()},
    };
    for (const auto& arguments : wrong) {
        const ProgramRun run = program_runner::voicebank(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(snapshot(module.string()), before);
}

TEST(BuilderProgram, FailuresLeaveTheModuleFolderAsItWas) {
    const fs::path module = module_with_old_bank("voicebank_failure_module");
    const auto before = snapshot(module.string());
    const fs::path empty = fresh_folder("voicebank_no_recordings");
    const fs::path unreadable = fresh_folder("voicebank_unreadable");
    program_runner::write_wav((unreadable / "a.wav").string(), held_vowel(0.5));
    std::ofstream(unreadable / "ka.wav") << "not a sound file";
    const std::string typo = (fs::path(program_runner::scratch_folder()) / "voicebank-recs-typo").string();

    struct Case {
        std::vector<std::string> arguments;
        std::string named;  // what the message must name
    };
    const std::vector<Case> cases = {
        {{"--speaker", "0", typo, module.string()}, typo},
        {{empty.string(), module.string()}, empty.string()},
        {{unreadable.string(), module.string()}, "ka.wav"},
        {{unreadable.string(), (module / "missing").string()}, (module / "missing").string()},
    };
    for (const Case& c : cases) {
        const ProgramRun run = program_runner::voicebank(c.arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_EQ(snapshot(module.string()), before) << c.named;
    }
    // An unreadable recording is one plain sentence.
    const ProgramRun bad = program_runner::voicebank({unreadable.string(), module.string()});
    EXPECT_EQ(bad.err, "vokari-voicebank: the recording " + (unreadable / "ka.wav").string() +
                           " is not a sound file that can be read (WAV, FLAC, OGG or AIFF); nothing changed\n");
    // A folder nobody may write into (root included) is named as given, with
    // the system's reason, never by the builder's scratch folder inside it.
    const ProgramRun unwritable = program_runner::voicebank({complete_recordings("voicebank_to_sys").string(), "/sys"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write into the module folder /sys: Operation not permitted"),
              std::string::npos)
        << unwritable.err;
    EXPECT_EQ(unwritable.err.find(".voicebank"), std::string::npos) << unwritable.err;
}

TEST(BuilderProgram, CompleteCleanRecordingsBuildWithoutWarningsAndAMissingOneWarns) {
    const fs::path module = fresh_folder("voicebank_complete_module");
    const ProgramRun complete =
        program_runner::voicebank({complete_recordings("voicebank_complete").string(), module.string()});
    EXPECT_EQ(complete.status, 0) << complete.err;
    EXPECT_TRUE(fs::exists(module / "vokaric0" / "106.wav"));
    // The new voice reads kanji through the bundled reading dictionary; the
    // settings an author has written are left alone by the next build.
    const auto bytes = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(bytes(module / "vokari.txt").find("\r\nvoice.translate.dic,reading.dic\r\n"), std::string::npos);
    EXPECT_EQ(bytes(module / "reading.dic"), bytes(std::string(VOKARI_SOURCE_DIR) + "/voices/default/reading.dic"));
    std::ofstream(module / "vokari.txt", std::ios::app) << "talk.default.speed,100\r\n";
    const std::string settings = bytes(module / "vokari.txt");

    const ProgramRun missing = program_runner::voicebank(
        {"--speaker", "1", complete_recordings("voicebank_missing", "pyo").string(), module.string()});
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("pyo"), std::string::npos) << missing.err;
    EXPECT_TRUE(fs::exists(module / "vokaric1" / "105.wav"));
    EXPECT_FALSE(fs::exists(module / "vokaric1" / "106.wav"));
    EXPECT_EQ(bytes(module / "vokari.txt"), settings);
}

TEST(BuilderProgram, BadRecordingsAreNamedLeftOutAndCounted) {
    const fs::path recordings = fresh_folder("voicebank_bad_recordings");
    auto write = [&](const std::string& name, const std::vector<float>& x) {
        program_runner::write_wav((recordings / name).string(), x);
    };
    // Peaks at 0.98 stay below clipping; a fifth of the loudness needs a
    // level correction of 2.5, within the renderer's limit of 3.
    std::vector<float> loud = held_vowel(0.5);
    float peak = 0.0f;
    for (float v : loud) peak = std::max(peak, std::fabs(v));
    for (float& v : loud) v *= 0.98f / peak;
    std::vector<float> quieter = loud;
    for (float& v : quieter) v /= 2.5f;
    std::vector<float> too_quiet = loud;  // needs x6.25
    for (float& v : too_quiet) v /= 6.25f;
    std::vector<float> clipped = loud;
    for (float& v : clipped) v = std::clamp(v * 1.5f, -1.0f, 1.0f);

    write("A.WAV", loud);  // names match whatever their case
    write("u.wav", loud);
    write("U.wav", loud);  // one of the two is used, with a note
    write("I.wav", quieter);
    write("e.wav", too_quiet);
    write("o.wav", synthetic::silence(ms(500)));
    write("n.wav", clipped);
    write("ぎ.wav", loud);  // a syllable in kana is named, with its romaji name

    const fs::path module = fresh_folder("voicebank_bad_module");
    const ProgramRun run = program_runner::voicebank({recordings.string(), module.string()});
    EXPECT_EQ(run.status, 3);
    const size_t banner = run.err.find("WARNING: 3 sample(s) LEFT OUT");
    ASSERT_NE(banner, std::string::npos) << run.err;
    const std::string left_out = run.err.substr(banner);
    EXPECT_NE(left_out.find("e.wav: correction beyond the renderer's limits"), std::string::npos) << left_out;
    EXPECT_NE(left_out.find("o.wav: silent"), std::string::npos) << left_out;
    EXPECT_NE(left_out.find("n.wav: clipped"), std::string::npos) << left_out;
    const std::size_t note = run.err.find("names that differ only in case: ");
    ASSERT_NE(note, std::string::npos) << run.err;
    const std::string group = run.err.substr(note, run.err.find('\n', note) - note);
    EXPECT_TRUE(group.find("U.wav") != std::string::npos && group.find("u.wav") != std::string::npos) << group;
    EXPECT_NE(run.err.find("ぎ.wav: not named after a syllable (name it gi.wav); not used"), std::string::npos)
        << run.err;
    for (int slot : {0, 1, 2}) EXPECT_TRUE(fs::exists(module / "vokariv0" / (std::to_string(slot) + ".wav"))) << slot;
    for (int slot : {3, 4, 45}) EXPECT_FALSE(fs::exists(module / "vokariv0" / (std::to_string(slot) + ".wav"))) << slot;
}

TEST(RecordingChecks, ClippingIsARunOfEqualFullScaleSamplesInOneChannel) {
    const std::vector<float> two = {0.5f, 0.99f, 0.99f, 0.5f};
    const std::vector<float> three = {0.5f, -0.99f, -0.99f, -0.99f, 0.5f};
    const std::vector<float> below = {0.5f, 0.989f, 0.989f, 0.989f, 0.5f};
    const std::vector<float> over = {0.5f, 1.01f, 0.5f};
    EXPECT_FALSE(is_clipped(two.data(), two.size(), 1));
    EXPECT_TRUE(is_clipped(three.data(), three.size(), 1));
    EXPECT_FALSE(is_clipped(below.data(), below.size(), 1));
    EXPECT_TRUE(is_clipped(over.data(), over.size(), 1));
    // Stereo: three full-scale frames in the right channel only, and three
    // consecutive full-scale values that belong to alternating channels.
    const std::vector<float> right = {0.1f, 1.0f, 0.2f, 1.0f, 0.3f, 1.0f};
    const std::vector<float> across = {0.1f, 1.0f, 1.0f, 0.1f, 1.0f, 0.1f};
    EXPECT_TRUE(is_clipped(right.data(), 3, 2));
    EXPECT_FALSE(is_clipped(across.data(), 3, 2));
}

TEST(RecordingChecks, NearSilenceIsBelowMinus50DbfsInEveryBlock) {
    auto block_at = [](double rms) {
        std::vector<float> x = synthetic::silence(ms(200));
        for (int i = 0; i < 220; ++i) x[1100 + i] = static_cast<float>(i % 2 ? rms : -rms);
        return x;
    };
    EXPECT_TRUE(is_nearly_silent(synthetic::silence(ms(200))));
    EXPECT_TRUE(is_nearly_silent(block_at(kNearSilentRms * 0.98)));
    EXPECT_FALSE(is_nearly_silent(block_at(kNearSilentRms * 1.02)));
    // A click that opens the next block is that block's alone.
    std::vector<float> click = block_at(kNearSilentRms * 0.98);
    click[1320] = static_cast<float>(kNearSilentRms * 10);
    EXPECT_TRUE(is_nearly_silent(click));
}
