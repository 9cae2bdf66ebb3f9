// Loading the phoneme bank from sample directories the tests write themselves.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "voice_data/sample_file.h"
#include "support/voice_data_test.h"

#include <unistd.h>

namespace {

using voice_test::VoiceDataTest;

using PhonemeBankTest = VoiceDataTest;

// The log line of one directory with the given 107 marks.
std::string directory_line(const std::string& directory, const std::string& marks) {
    return "reading data from directory " + directory + " : " + marks + " Done.\n";
}

std::string marks_with_loaded(std::initializer_list<int> loaded_slots) {
    std::string marks(vokari::kSlotCount, '-');
    for (int slot : loaded_slots) marks[slot] = 'o';
    return marks;
}

TEST_F(PhonemeBankTest, FileLengthCountsEveryByteAndRefusesWhatCannotBeOpened) {
    write("empty.bin", {});
    write("crlf.bin", {'a', '\r', '\n', 0x1A, 'b'});
    make_dir("folder");
    EXPECT_EQ(vokari::file_length((dir_ + "\\empty.bin").c_str()), 0);
    EXPECT_EQ(vokari::file_length((dir_ + "\\crlf.bin").c_str()), 5);  // binary: CR LF and 0x1A count
    EXPECT_EQ(vokari::file_length((dir_ + "\\missing.bin").c_str()), -1);
    EXPECT_EQ(vokari::file_length((dir_ + "\\folder").c_str()), -1);
}

// Files this process holds open.
std::size_t open_file_count() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

// A sample left open holds a handle for the life of the host, and on Windows
// keeps the file from being replaced or removed.
TEST_F(PhonemeBankTest, SampleReadersCloseEveryFileTheyOpen) {
    write("1.hv1", ramp(40));
    const std::string path = dir_ + "\\1.hv1";
    const std::size_t before = open_file_count();
    std::vector<std::uint8_t> data;
    EXPECT_EQ(vokari::file_length(path.c_str()), 40);
    EXPECT_TRUE(vokari::read_sample_file(path.c_str(), 40, 4, data));
    EXPECT_FALSE(vokari::read_sample_file(path.c_str(), 50, 4, data));  // shorter than measured
    EXPECT_TRUE(vokari::read_sample_file(path.c_str(), 40, 4, data, vokari::MissingBytes::Silence));
    EXPECT_EQ(data, ramp(36, 4));
    EXPECT_EQ(open_file_count(), before);
    EXPECT_EQ(std::remove(native("1.hv1").c_str()), 0);
}

// A file shorter than its header has no sample, silent or not; the header
// alone is an empty sample.
TEST_F(PhonemeBankTest, SampleReadersRefuseAFileShorterThanItsHeader) {
    write("short.wav", ramp(44));
    const std::string path = dir_ + "\\short.wav";
    for (vokari::MissingBytes missing : {vokari::MissingBytes::Fail, vokari::MissingBytes::Silence}) {
        std::vector<std::uint8_t> data(3, 1);
        EXPECT_FALSE(vokari::read_sample_file(path.c_str(), 43, 44, data, missing));
        EXPECT_TRUE(vokari::read_sample_file(path.c_str(), 44, 44, data, missing));
        EXPECT_TRUE(data.empty());
    }
}

TEST_F(PhonemeBankTest, HeadlessFileWinsOverWavAndLogsOneMarkPerSlot) {
    make_dir("vokariv0");
    write("vokariv0/3.wav", fixture::wav_file(ramp(500, 7)));
    write("vokariv0/3.hv1", ramp(300, 40));

    EXPECT_TRUE(load_phoneme_directory("vokariv0", 0, true));

    const vokari::PhonemeSlot& slot = phoneme_bank.slots[0][3];
    EXPECT_EQ(slot.size, 300);
    EXPECT_EQ(slot.data, ramp(300, 40));
    EXPECT_EQ(slot.loop_chunk_offset, 0);  // vowel directories leave it alone
    EXPECT_EQ(phoneme_bank.last_sample_was_hv1, 1);
    EXPECT_EQ(log_text(), directory_line("vokariv0", "---o" + std::string(103, '-')));
    for (int n = 0; n < vokari::kSlotCount; ++n) {
        if (n != 3) {
            EXPECT_EQ(phoneme_bank.slots[0][n].size, 0) << "slot " << n;
        }
    }
}

TEST_F(PhonemeBankTest, WavHeaderNeverReachesTheSample) {
    make_dir("vokaric1");
    write("vokaric1/12.wav", fixture::wav_file(ramp(1000, 3)));
    ASSERT_EQ(fixture::read_file(native("vokaric1/12.wav")).size(), 1058u);

    EXPECT_TRUE(load_phoneme_directory("vokaric1", 1, false));

    const vokari::PhonemeSlot& slot = phoneme_bank.slots[1][12];
    EXPECT_EQ(slot.size, 1000);
    EXPECT_EQ(slot.data, ramp(1000, 3));
    EXPECT_EQ(slot.loop_chunk_offset, 999);  // consonant directory: size - 1
    EXPECT_EQ(phoneme_bank.last_sample_was_hv1, 0);
    EXPECT_EQ(phoneme_bank.slots[0][12].size, 0);  // the other speaker is untouched
}

TEST_F(PhonemeBankTest, EmptyAndHeaderOnlyFilesGiveSilentSlots) {
    make_dir("vokariv0");
    write("vokariv0/0.hv1", {});
    write("vokariv0/1.wav", fixture::wav_header(0));

    EXPECT_TRUE(load_phoneme_directory("vokariv0", 0, true));
    EXPECT_EQ(phoneme_bank.slots[0][0].size, 0);
    EXPECT_EQ(phoneme_bank.slots[0][1].size, 0);
    EXPECT_TRUE(phoneme_bank.slots[0][0].data.empty());
    EXPECT_EQ(log_text(), directory_line("vokariv0", marks_with_loaded({0, 1})));
}

TEST_F(PhonemeBankTest, WavShorterThanItsHeaderLeavesTheSlotEmpty) {
    make_dir("vokariv0");
    make_dir("vokaric0");
    write("vokariv0/0.hv1", ramp(800));
    write("vokaric0/0.wav", ramp(57));  // damaged: not even a whole header

    EXPECT_TRUE(load_phoneme_directory("vokariv0", 0, true));
    EXPECT_FALSE(load_phoneme_directory("vokaric0", 0, false));

    // The damaged file replaced the vowel, and nothing of it was read.
    const vokari::PhonemeSlot& slot = phoneme_bank.slots[0][0];
    EXPECT_EQ(slot.size, 0);
    EXPECT_TRUE(slot.data.empty());
    EXPECT_EQ(log_text(),
              directory_line("vokariv0", marks_with_loaded({0})) + directory_line("vokaric0", std::string(107, '-')));
}

// A consonant file replaces the vowel of its slot; where it is missing, the
// slot keeps what it held.
TEST_F(PhonemeBankTest, ConsonantDirectoryReplacesVowelSampleOfTheSameSlot) {
    make_dir("vokariv0");
    make_dir("vokaric0");
    write("vokariv0/0.hv1", ramp(900, 1));
    write("vokariv0/2.hv1", ramp(600));
    write("vokaric0/0.wav", fixture::wav_file(ramp(400, 9)));

    load_phoneme_directory("vokariv0", 0, true);
    EXPECT_EQ(phoneme_bank.slots[0][0].loop_chunk_offset, 0);
    load_phoneme_directory("vokaric0", 0, false);

    EXPECT_EQ(phoneme_bank.slots[0][0].data, ramp(400, 9));
    EXPECT_EQ(phoneme_bank.slots[0][0].loop_chunk_offset, 399);
    EXPECT_EQ(phoneme_bank.slots[0][2].data, ramp(600));
}

// A sysfs file reports a length of a whole page but reads as a few bytes: a
// file that can be measured but not read in full.
TEST_F(PhonemeBankTest, FileThatCannotBeReadInFullLeavesTheSlotSilent) {
    const char* target = "/sys/devices/system/cpu/online";
    long measured = vokari::file_length(target);
    long readable = static_cast<long>(fixture::read_file(target).size());
    if (measured <= readable) GTEST_SKIP() << "no file that reads shorter than it measures";

    make_dir("vokaric0");
    write("vokaric0/7.hv1", ramp(500));
    load_phoneme_directory("vokaric0", 0, false);
    ASSERT_EQ(phoneme_bank.slots[0][7].size, 500);

    ASSERT_EQ(std::remove(native("vokaric0/7.hv1").c_str()), 0);
    ASSERT_EQ(symlink(target, native("vokaric0/7.hv1").c_str()), 0);
    std::remove(native("test.log").c_str());
    EXPECT_FALSE(load_phoneme_directory("vokaric0", 0, false));

    EXPECT_EQ(phoneme_bank.slots[0][7].size, 0);
    EXPECT_TRUE(phoneme_bank.slots[0][7].data.empty());
    EXPECT_EQ(log_text(), directory_line("vokaric0", std::string(107, '-')));
}

TEST_F(PhonemeBankTest, LastSampleFlagFollowsTheLastFileFound) {
    make_dir("vokaric0");
    write("vokaric0/5.hv1", ramp(100));
    write("vokaric0/9.wav", fixture::wav_file(ramp(100)));
    load_phoneme_directory("vokaric0", 0, false);
    EXPECT_EQ(phoneme_bank.last_sample_was_hv1, 0);

    write("vokaric0/20.hv1", ramp(100));
    load_phoneme_directory("vokaric0", 0, false);
    EXPECT_EQ(phoneme_bank.last_sample_was_hv1, 1);
}

TEST_F(PhonemeBankTest, ModuleDirectoryTooLongForSamplePathsLoadsNothing) {
    make_dir("vokariv0");
    write("vokariv0/0.hv1", ramp(100));
    std::string long_dir = dir_ + std::string(1020 - dir_.size(), '/');  // same folder, 1,020 bytes
    set_module_dir(long_dir);

    EXPECT_FALSE(load_phoneme_directory("vokariv0", 0, true));
    EXPECT_EQ(phoneme_bank.slots[0][0].size, 0);
    EXPECT_EQ(log_text(), directory_line("vokariv0", std::string(107, '-')));
}

// The full bank reports which partner directories were empty; the partner
// then borrows only the missing group, with its tuning.
TEST_F(PhonemeBankTest, PartnerWithoutVowelsBorrowsOnlyThemWithTheirTuning) {
    fixture::VoiceOptions options;
    options.with_partner_vowels = false;
    fixture::make_voice(dir_, options);
    const vokari::PartnerGaps gaps = load_phoneme_bank();
    EXPECT_TRUE(gaps.vowels);
    EXPECT_FALSE(gaps.consonants);

    std::string log = log_text();
    EXPECT_EQ(log.rfind("// Now loading CV-shaped phoneme data.\nreading data from directory vokariv0 : ", 0), 0u);
    EXPECT_NE(log.find("reading data from directory vokariv1 : " + std::string(107, '-') + " Done.\n"),
              std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 14), " Done.\nDone.\n\n");

    // Every sample of the fixture arrived with exactly its bytes.
    EXPECT_EQ(phoneme_bank.slots[0][0].data, fixture::sample_bytes(0, 0, phoneme_bank.slots[0][0].size));
    EXPECT_EQ(phoneme_bank.slots[1][30].data, fixture::sample_bytes(1, 30, phoneme_bank.slots[1][30].size));

    phoneme_bank.slots[0][45].vowel_delay = 321;
    phoneme_bank.slots[0][45].correct_level = 0.5;
    phoneme_bank.slots[1][45].correct_level = 2.0;  // replaced by the copy
    std::vector<std::uint8_t> partner_ka = phoneme_bank.slots[1][5].data;

    fill_partner_from_main(vokari::SlotGroup::Vowel);

    for (int slot : {0, 1, 2, 3, 4, 45}) {
        EXPECT_EQ(phoneme_bank.slots[1][slot].data, phoneme_bank.slots[0][slot].data) << slot;
        EXPECT_EQ(phoneme_bank.slots[1][slot].size, phoneme_bank.slots[0][slot].size) << slot;
        EXPECT_EQ(phoneme_bank.slots[1][slot].loop_chunk_offset, phoneme_bank.slots[0][slot].loop_chunk_offset);
    }
    EXPECT_EQ(phoneme_bank.slots[1][45].vowel_delay, 321);
    EXPECT_EQ(phoneme_bank.slots[1][45].correct_level, 0.5);
    EXPECT_EQ(phoneme_bank.slots[1][5].data, partner_ka);  // consonants stay the partner's own
    EXPECT_NE(partner_ka, phoneme_bank.slots[0][5].data);
}

TEST_F(PhonemeBankTest, PartnerWithoutAnyDirectoryBecomesACopyOfTheMainVoice) {
    fixture::VoiceOptions options;
    options.with_partner_vowels = false;
    options.with_partner_consonants = false;
    fixture::make_voice(dir_, options);
    phoneme_bank.consonant_level[1] = 1.5;
    const vokari::PartnerGaps gaps = load_phoneme_bank();
    ASSERT_TRUE(gaps.vowels && gaps.consonants);

    fill_partner_from_main(vokari::SlotGroup::Vowel);
    fill_partner_from_main(vokari::SlotGroup::Consonant);

    for (int slot = 0; slot < vokari::kSlotCount; ++slot) {
        EXPECT_EQ(phoneme_bank.slots[1][slot].data, phoneme_bank.slots[0][slot].data) << slot;
        EXPECT_EQ(phoneme_bank.slots[1][slot].loop_chunk_offset, phoneme_bank.slots[0][slot].loop_chunk_offset);
    }
    EXPECT_EQ(phoneme_bank.consonant_level[1], 1.5);  // per-speaker factors are not copied
}

TEST_F(PhonemeBankTest, MissingMainVoiceStaysSilentAndBorrowsNothing) {
    fixture::make_voice(dir_);
    fixture::remove_tree(native("vokariv0"));
    fixture::remove_tree(native("vokaric0"));
    const vokari::PartnerGaps gaps = load_phoneme_bank();
    EXPECT_FALSE(gaps.vowels || gaps.consonants);
    for (int slot = 0; slot < vokari::kSlotCount; ++slot) EXPECT_EQ(phoneme_bank.slots[0][slot].size, 0);
}

TEST_F(PhonemeBankTest, ReleaseAndResetLeaveEverySlotSilent) {
    fixture::make_voice(dir_);
    load_phoneme_bank();
    phoneme_bank.slots[0][8].correct_frequency = 1.3;
    phoneme_bank.consonant_frequency[0] = 0.7;

    release_phoneme_bank();
    for (int speaker = 0; speaker < 2; ++speaker)
        for (int slot = 0; slot < vokari::kSlotCount; ++slot) {
            EXPECT_EQ(phoneme_bank.slots[speaker][slot].size, 0);
            EXPECT_TRUE(phoneme_bank.slots[speaker][slot].data.empty());
        }

    reset_phoneme_bank();
    EXPECT_EQ(phoneme_bank.slots[0][8].correct_frequency, 1.0);
    EXPECT_EQ(phoneme_bank.slots[0][8].loop_chunk_offset, 0);
    EXPECT_EQ(phoneme_bank.consonant_frequency[0], 1.0);
    EXPECT_EQ(phoneme_bank.last_sample_was_hv1, 0);
}

}  // namespace
