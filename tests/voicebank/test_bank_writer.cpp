// The bank files: the module's WAV layout and mu-law encoding, the details
// text the module's reader expects, and the all-or-nothing directory writes.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bank_writer.h"
#include "program_runner.h"
#include "base/mulaw.h"
#include "base/wav_format.h"
#include "vokari_voice_format.h"
#include "syllables.h"

using namespace vokari::voicebank;
namespace fs = std::filesystem;

namespace {

SlotSample sample_for(int slot, long length) {
    SlotSample s;
    s.slot = slot;
    s.samples.assign(static_cast<size_t>(length), 0.25f);
    s.vowel_delay = 1000;
    s.fade_length = 1500;
    s.loop_start = 300;
    return s;
}

BankTuning tuning_for(size_t count, double frequency) {
    BankTuning tuning;
    tuning.gain = 2.0;
    tuning.slots.assign(count, SlotTuning{frequency, 0.5});
    return tuning;
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(BankWriter, SampleFileIsTheModulesHeaderAndMuLawBytes) {
    const std::vector<float> x = {0.0f, 0.5f, -0.5f, 1.5f, -0.0002f};
    const std::vector<std::uint8_t> bytes = sample_file_bytes(x, 0.8);
    ASSERT_EQ(bytes.size(), 58u + x.size());
    std::vector<std::uint8_t> header(58);
    vokari::write_wav_header(header.data(), 5);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
    EXPECT_EQ(bytes[58], 0xFF);  // silence
    // 0.4 of full scale (3263) comes back as the code just below it.
    const std::int32_t decoded = vokari::mulaw_decode_table[bytes[59]];
    EXPECT_LE(decoded, 3263);
    EXPECT_GT(decoded, 3263 - 260);
    EXPECT_EQ(vokari::mulaw_decode_table[bytes[60]], -decoded);
    EXPECT_EQ(bytes[61], 0x80);  // beyond full scale saturates
    EXPECT_EQ(bytes[62], 0x7F);  // too small for a code
}

TEST(BankWriter, DetailsGiveLoopsToVowelsAndDelayAndFadeToConsonants) {
    const std::vector<SlotSample> samples = {sample_for(0, 2000), sample_for(5, 2000), sample_for(45, 2000)};
    const BankTuning tuning = tuning_for(3, 1.25);
    const std::string vowels = details_text(samples, tuning, true);
    EXPECT_NE(vowels.find("\n[0]\nloopchunkofset,300\ncorrect.frequency,1.2500\ncorrect.level,0.5000\n"),
              std::string::npos);
    EXPECT_NE(vowels.find("\n[45]\nloopchunkofset,300\n"), std::string::npos);
    EXPECT_EQ(vowels.find("[5]"), std::string::npos);
    const std::string consonants = details_text(samples, tuning, false);
    // Delay and fade are output samples: the sample plays 1.25 times as fast.
    EXPECT_NE(consonants.find("\n[5]\nadjust.vowel.delay,800\nloopchunkofset,1200\ncorrect.frequency,1.2500\n"),
              std::string::npos);
    EXPECT_EQ(consonants.find("[0]"), std::string::npos);
}

TEST(BankWriter, WritesBothDirectoriesAndReplacesOldOnes) {
    const fs::path module = fs::path(program_runner::scratch_folder()) / "voicebank_write";
    fs::remove_all(module);
    fs::create_directories(module / "vokaric1");
    std::ofstream(module / "vokaric1" / "99.wav") << "stale";
    SlotSample empty = sample_for(7, 0);
    const std::vector<SlotSample> samples = {sample_for(1, 700), sample_for(6, 900), empty};
    std::string error;
    ASSERT_TRUE(write_bank(module.string(), 1, samples, tuning_for(3, 1.0), error)) << error;

    EXPECT_EQ(fs::file_size(module / "vokariv1" / "1.wav"), 758u);
    EXPECT_EQ(fs::file_size(module / "vokaric1" / "6.wav"), 958u);
    EXPECT_FALSE(fs::exists(module / "vokaric1" / "7.wav"));   // no data, no file
    EXPECT_FALSE(fs::exists(module / "vokaric1" / "99.wav"));  // the old directory is gone
    EXPECT_NE(read_text(module / "vokaric1" / "details.txt").find("[6]"), std::string::npos);
    EXPECT_NE(read_text(module / "vokariv1" / "details.txt").find("[1]"), std::string::npos);
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(module)) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2);  // no scratch directory left behind
    fs::remove_all(module);
}

TEST(BankWriter, FailureLeavesTheModuleDirectoryAsItWas) {
    const fs::path module = fs::path(program_runner::scratch_folder()) / "voicebank_blocked";
    fs::remove_all(module);
    fs::create_directories(module / "vokariv0");
    std::ofstream(module / "vokariv0" / "0.wav") << "old";
    // A file where the scratch directory's parent should be makes every
    // write fail.
    const fs::path blocked = module / "file";
    std::ofstream(blocked) << "x";
    std::string error;
    EXPECT_FALSE(write_bank(blocked.string(), 0, {sample_for(0, 100)}, tuning_for(1, 1.0), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(read_text(module / "vokariv0" / "0.wav"), "old");
    fs::remove_all(module);
}

// A file-size limit stands in for a full disk: each sample file is larger
// than the limit but smaller than the stdio buffer, so the failure shows only
// when the file is closed.
TEST(BankWriter, AFullDiskFailsWithTheReasonAndKeepsTheOldBank) {
    const fs::path module = fs::path(program_runner::scratch_folder()) / "voicebank_full";
    fs::remove_all(module);
    fs::create_directories(module / "vokariv0");
    std::ofstream(module / "vokariv0" / "0.wav") << "old";
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const bool written = write_bank(module.string(), 0, {sample_for(0, 700)}, tuning_for(1, 1.0), error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("0.wav: File too large"), std::string::npos) << error;
    EXPECT_EQ(read_text(module / "vokariv0" / "0.wav"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(module), fs::directory_iterator()), 1);
    fs::remove_all(module);
}

// The states a build killed during its swap can leave: a marked scratch
// folder is finished whatever step it stopped at, an unmarked one is dropped.
TEST(BankWriter, AKilledSwapIsFinishedAndAKilledWriteIsDropped) {
    const fs::path module = fs::path(program_runner::scratch_folder()) / "voicebank_killed";
    const auto put = [](const fs::path& directory, const std::string& text) {
        fs::create_directories(directory);
        std::ofstream(directory / "0.wav") << text;
    };
    for (int moved = 0; moved <= 3; ++moved) {
        // moved: 0 nothing yet, 1 old vowels parked, 2 new vowels in, 3 old consonants parked too.
        fs::remove_all(module);
        const fs::path scratch = module / ".voicebank-0-4242";
        put(moved >= 1 ? scratch / "old-vokariv0" : module / "vokariv0", "old");
        put(moved >= 2 ? module / "vokariv0" : scratch / "vokariv0", "new");
        put(moved >= 3 ? scratch / "old-vokaric0" : module / "vokaric0", "old");
        put(scratch / "vokaric0", "new");
        std::ofstream(scratch / "swap");
        put(module / ".voicebank-1-4242" / "vokariv1", "other speaker");
        std::string error;
        ASSERT_TRUE(recover_interrupted_write(module.string(), 0, error)) << error;
        EXPECT_EQ(read_text(module / "vokariv0" / "0.wav"), "new") << moved;
        EXPECT_EQ(read_text(module / "vokaric0" / "0.wav"), "new") << moved;
        EXPECT_FALSE(fs::exists(scratch)) << moved;
        EXPECT_TRUE(fs::exists(module / ".voicebank-1-4242")) << "another speaker's build is not touched";
    }
    fs::remove_all(module);
    put(module / "vokariv0", "old");
    put(module / ".voicebank-0-4242" / "vokariv0", "half");
    std::string error;
    ASSERT_TRUE(recover_interrupted_write(module.string(), 0, error)) << error;
    EXPECT_EQ(read_text(module / "vokariv0" / "0.wav"), "old");
    EXPECT_FALSE(fs::exists(module / ".voicebank-0-4242"));
    fs::remove_all(module);
}
