// Details files: section lines, tuning keys, and the trimming of consonant
// ".hv1" files on disk.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "voice_data/sample_file.h"
#include "support/voice_data_test.h"

namespace {

using voice_test::VoiceDataTest;

TEST(SectionHeader, AcceptsOnlyBracketedLinesAndLimitsTheSlot) {
    struct Case {
        const char* line;
        bool is_section;
        int slot;  // after the call, starting from 9
    };
    const std::string padded_number = "[" + std::string(63, ' ') + "79]";  // only 63 blanks and "7" are read
    const Case cases[] = {
        {"[5]", true, 5},
        {"[106]", true, 106},
        {"[107]", true, 106},
        {"[200]", true, 106},
        {"[99999999999]", true, 106},
        {"[abc]", true, 0},
        {"[ 12 ]", true, 12},
        {"[-3]", true, vokari::kNoSlot},
        {"[-0]", true, 0},
        {"[]", false, 9},
        {" [5]", false, 9},
        {"[5] ", false, 9},
        {"[5", false, 9},
        {"5]", false, 9},
        {"", false, 9},
        {padded_number.c_str(), true, 7},
    };
    for (const Case& c : cases) {
        int slot = 9;
        EXPECT_EQ(vokari::parse_section_header(c.line, slot), c.is_section) << c.line;
        EXPECT_EQ(slot, c.slot) << c.line;
    }
}

using PhonemeDetailsTest = VoiceDataTest;

TEST_F(PhonemeDetailsTest, KeysTuneTheSelectedSlotOrTheWholeSpeaker) {
    make_dir("vokaric0");
    write("vokaric0/7.hv1", ramp(3000));
    load_phoneme_directory("vokaric0", 0, false);
    std::remove(native("test.log").c_str());
    write_text("vokaric0/details.txt",
               "correct.level, 0.25\r\n"  // before any section: slot 0
               "[7]   // ki\r\n"          // a section line with a comment
               "adjust.vowel.delay , 1234\r\n"
               "loopchunkofset, 5000\r\n"  // longer than the sample
               "correct.frequency,1.5 // a bit higher\r\n"
               "adjust.consonant.level, 0.8\r\n"  // for the whole speaker
               "Correct.Level, 9\r\n"             // keys are case-sensitive
               "no separator here\r\n"
               " [8]\r\n"                 // indented: not a section, ignored
               "correct.level, 1.75\r\n"  // still slot 7
               "[200]\r\n"
               "adjust.consonant.frequency, 1.2\r\n"
               "adjust.vowel.delay, 55\r\n");

    EXPECT_TRUE(load_phoneme_details("vokaric0", 0));

    EXPECT_EQ(phoneme_bank.slots[0][0].correct_level, 0.25);
    const vokari::PhonemeSlot& ki = phoneme_bank.slots[0][7];
    EXPECT_EQ(ki.vowel_delay, 1234);
    EXPECT_EQ(ki.loop_chunk_offset, 2999);
    EXPECT_EQ(ki.correct_frequency, 1.5);
    EXPECT_EQ(ki.correct_level, 1.75);
    EXPECT_EQ(phoneme_bank.slots[0][8].correct_level, 1.0);
    EXPECT_EQ(phoneme_bank.slots[0][106].vowel_delay, 55);
    EXPECT_EQ(phoneme_bank.consonant_level[0], 0.8);
    EXPECT_EQ(phoneme_bank.consonant_frequency[0], 1.2);
    EXPECT_EQ(phoneme_bank.consonant_level[1], 1.0);  // the other speaker is untouched
    EXPECT_EQ(log_text(), "reading details from directory vokaric0 : Done.\n");
}

TEST_F(PhonemeDetailsTest, MissingFileIsLoggedAndChangesNothing) {
    EXPECT_FALSE(load_phoneme_details("vokariv1", 1));
    EXPECT_EQ(log_text(), "reading details from directory vokariv1 : Can't open file.\n");
    EXPECT_EQ(phoneme_bank.slots[1][0].correct_level, 1.0);
}

TEST_F(PhonemeDetailsTest, NegativeSectionSelectsNoSlot) {
    make_dir("vokariv0");
    write_text("vokariv0/details.txt",
               "[2]\r\ncorrect.level, 0.5\r\n"
               "[-4]\r\ncorrect.level, 3\r\nadjust.vowel.delay, 10\r\nloopchunkofset, 4\r\n"
               "adjust.consonant.frequency, 0.9\r\n");
    EXPECT_TRUE(load_phoneme_details("vokariv0", 0));
    for (int slot = 0; slot < vokari::kSlotCount; ++slot) {
        EXPECT_EQ(phoneme_bank.slots[0][slot].vowel_delay, 0) << slot;
        EXPECT_EQ(phoneme_bank.slots[0][slot].loop_chunk_offset, 0) << slot;
        EXPECT_EQ(phoneme_bank.slots[0][slot].correct_level, slot == 2 ? 0.5 : 1.0) << slot;
    }
    EXPECT_EQ(phoneme_bank.consonant_frequency[0], 0.9);  // speaker keys need no slot
}

// --- trimming of consonant samples ---------------------------------------------

class TrimTest : public VoiceDataTest {
protected:
    void SetUp() override {
        VoiceDataTest::SetUp();
        make_dir("vokariv0");
        make_dir("vokaric0");
        write("vokaric0/9.hv1", sample_);
        settings.delete_excess_hv1 = 1;
    }

    // One load of the bank and the details of speaker 0 (as `load` does).
    void load_speaker_0() {
        release_phoneme_bank();
        reset_phoneme_bank();
        load_phoneme_bank();
        load_phoneme_details("vokariv0", 0);
        load_phoneme_details("vokaric0", 0);
    }

    std::vector<std::uint8_t> file(const char* relative) const { return fixture::read_file(native(relative)); }
    bool exists(const char* relative) const { return vokari::file_length((dir_ + "\\" + relative).c_str()) >= 0; }

    const std::vector<std::uint8_t> sample_ = ramp(3000, 11);
};

TEST_F(TrimTest, CutKeepsTheFadeAndIsStableOverLaterLoads) {
    write_text("vokaric0/details.txt", "[9]\r\nloopchunkofset, 1200\r\n");

    load_speaker_0();
    EXPECT_EQ(phoneme_bank.slots[0][9].size, 3000);  // memory keeps the whole sample
    EXPECT_EQ(phoneme_bank.slots[0][9].loop_chunk_offset, 1200);
    std::vector<std::uint8_t> first_cut = file("vokaric0/9.hv1");
    EXPECT_EQ(first_cut, std::vector<std::uint8_t>(sample_.begin(), sample_.begin() + 1201));
    EXPECT_FALSE(exists("vokaric0\\9.hv1.tmp"));

    for (int load = 2; load <= 3; ++load) {
        load_speaker_0();
        EXPECT_EQ(phoneme_bank.slots[0][9].loop_chunk_offset, 1200) << "load " << load;
        EXPECT_EQ(file("vokaric0/9.hv1"), first_cut) << "load " << load;
        EXPECT_FALSE(exists("vokaric0\\9.hv1.tmp"));
    }
}

TEST_F(TrimTest, LineFromTheVowelDirectoryCutsTheConsonantFile) {
    write_text("vokariv0/details.txt", "[9]\r\nloopchunkofset, 100\r\n");
    write_text("vokaric0/details.txt", "[9]\r\nloopchunkofset, 2000\r\n");
    load_speaker_0();
    EXPECT_EQ(file("vokaric0/9.hv1").size(), 101u);  // the longer later line does not grow it back
    load_speaker_0();
    EXPECT_EQ(file("vokaric0/9.hv1").size(), 101u);
}

TEST_F(TrimTest, NothingIsCutWhenTheSettingIsOffOrTheSlotIsAVowel) {
    write("vokaric0/45.hv1", sample_);
    write("vokaric0/2.hv1", sample_);
    write_text("vokaric0/details.txt",
               "[9]\r\nloopchunkofset, 10\r\n[45]\r\nloopchunkofset, 10\r\n"
               "[2]\r\nloopchunkofset, 10\r\n");
    settings.delete_excess_hv1 = 0;
    load_speaker_0();
    EXPECT_EQ(file("vokaric0/9.hv1"), sample_);

    settings.delete_excess_hv1 = 1;
    load_speaker_0();
    EXPECT_EQ(file("vokaric0/45.hv1"), sample_);
    EXPECT_EQ(file("vokaric0/2.hv1"), sample_);
    EXPECT_EQ(file("vokaric0/9.hv1").size(), 11u);
}

TEST_F(TrimTest, NegativeOrEmptyLengthsNeverEmptyAFile) {
    write("vokaric0/10.hv1", {});
    write_text("vokaric0/details.txt", "[9]\r\nloopchunkofset, -5\r\n[10]\r\nloopchunkofset, 0\r\n");
    load_speaker_0();
    EXPECT_EQ(phoneme_bank.slots[0][9].loop_chunk_offset, -5);
    EXPECT_EQ(file("vokaric0/9.hv1"), sample_);
    EXPECT_TRUE(exists("vokaric0\\10.hv1"));
    EXPECT_FALSE(exists("vokaric0\\9.hv1.tmp"));
}

TEST_F(TrimTest, SlotWithoutItsOwnHv1LeavesTheDirectoryUnchanged) {
    // Slot 12 comes from a ".wav"; slot 20 has no file; the last sample
    // loaded (slot 30) was an ".hv1", so the gate is open for both.
    write("vokaric0/12.wav", fixture::wav_file(sample_));
    write("vokaric0/30.hv1", sample_);
    write_text("vokaric0/details.txt", "[12]\r\nloopchunkofset, 300\r\n[20]\r\nloopchunkofset, 300\r\n");
    load_speaker_0();
    ASSERT_EQ(phoneme_bank.last_sample_was_hv1, 1);
    EXPECT_FALSE(exists("vokaric0\\12.hv1"));
    EXPECT_FALSE(exists("vokaric0\\20.hv1"));
    EXPECT_FALSE(exists("vokaric0\\12.hv1.tmp"));
    EXPECT_FALSE(exists("vokaric0\\20.hv1.tmp"));
    EXPECT_EQ(file("vokaric0/12.wav"), fixture::wav_file(sample_));
}

TEST_F(TrimTest, FileThatCannotBeCopiedIsLeftWhole) {
    make_dir("vokaric0/9.hv1.tmp");  // the copy cannot replace a folder
    write_text("vokaric0/details.txt", "[9]\r\nloopchunkofset, 100\r\n");
    load_speaker_0();
    EXPECT_EQ(file("vokaric0/9.hv1"), sample_);
}

TEST_F(TrimTest, StaleTemporaryFileIsReplacedAndRemoved) {
    write("vokaric0/9.hv1.tmp", ramp(10));
    write_text("vokaric0/details.txt", "[9]\r\nloopchunkofset, 100\r\n");
    load_speaker_0();
    EXPECT_EQ(file("vokaric0/9.hv1"), std::vector<std::uint8_t>(sample_.begin(), sample_.begin() + 101));
    EXPECT_FALSE(exists("vokaric0\\9.hv1.tmp"));
}

}  // namespace
