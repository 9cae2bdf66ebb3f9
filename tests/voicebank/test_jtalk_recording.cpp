// The Open JTalk recorder: it refuses, naming what to install or what failed,
// before it writes anything, it reads the synthesiser's phoneme times
// correctly, cuts only the syllable it asked for with its consonant at most as
// long as allowed, and brings a vowel to the bank's pitch without touching its
// consonant.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "jtalk_recording.h"
#include "pitch_period.h"
#include "program_runner.h"
#include "synthetic_speech.h"

namespace fs = std::filesystem;

TEST(JtalkRecorder, RefusesBeforeWritingWhenAPartIsMissingOrFails) {
    const std::string out = (fs::temp_directory_path() / "vokari-jtalk-refusal").string();
    fs::remove_all(out);
    struct Case {
        const char* option;
        const char* package;
    };
    // Each package named in full: "open-jtalk" alone is also the start of the dictionary's name.
    for (const Case& c :
         {Case{"--program", "package open-jtalk)"}, Case{"--dictionary", "package open-jtalk-mecab-naist-jdic)"},
          Case{"--voice", "package hts-voice-nitech-jp-atr503-m001,"}}) {
        const auto run = program_runner::run_program(JTALK_RECORD_PROGRAM, {c.option, "/nonexistent/part", out});
        EXPECT_EQ(run.status, 1) << c.option;
        EXPECT_NE(run.err.find(c.package), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out)) << c.option;
    }
    const auto run = program_runner::run_program(JTALK_RECORD_PROGRAM, {"--voice", "/nonexistent/part", out});
    EXPECT_NE(run.err.find("contrib"), std::string::npos) << run.err;
    // Every part there, but the synthesiser fails: a failure (1), not a usage error (2).
    const std::string parts = program_runner::scratch_folder() + "jtalk-parts";
    fs::create_directories(parts);
    std::ofstream(parts + "/sys.dic") << "x";
    std::ofstream(parts + "/voice.htsvoice") << "x";
    const auto failed = program_runner::run_program(
        JTALK_RECORD_PROGRAM,
        {"--program", "/bin/false", "--dictionary", parts, "--voice", parts + "/voice.htsvoice", out});
    EXPECT_EQ(failed.status, 1) << failed.err;
    EXPECT_NE(failed.err.find("/bin/false failed to speak"), std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(out));
    fs::remove_all(parts);
}

TEST(JtalkRecorder, ReadsPhonemeTimesOfTheLabelSectionOnly) {
    const std::string trace =
        "[Text analysis result]\n"
        "0 10000000 xx^xx-zz+k=a/A:xx\n"
        "[Output label]\n"
        "0 3100000 xx^xx-sil+k=a/A:xx+xx\n"
        "3100000 4350000 xx^sil-ky+a=a/A:-1+1+2\n"
        "\n"
        "[Global parameter]\n"
        "0 10000000 xx^xx-zz+k=a/A:xx\n";
    const auto labels = vokari::voicebank::parse_trace_labels(trace, 22050);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].name, "sil");
    EXPECT_EQ(labels[1].name, "ky");
    // 310 ms and 435 ms at 22050 Hz, rounded down.
    EXPECT_EQ(labels[1].begin, 6835);
    EXPECT_EQ(labels[1].end, 9591);
}

TEST(JtalkRecorder, CutsOnlyTheSyllableAskedForAndShortensALongConsonant) {
    using vokari::voicebank::PhonemeLabel;
    vokari::voicebank::JtalkRecording recording;
    recording.samples.assign(20000, 0.1f);
    auto spoken = [&](std::vector<PhonemeLabel> labels) {
        recording.labels = labels;
        return recording;
    };
    // "あぎゅーーね": a, gy (2000 samples), u held over two labels, n, e.
    const auto gyu = spoken({{"sil", 0, 1000},
                             {"a", 1000, 3000},
                             {"gy", 3000, 5000},
                             {"u", 5000, 7000},
                             {"u", 7000, 9000},
                             {"n", 9000, 10000},
                             {"e", 10000, 12000}});
    const auto whole = vokari::voicebank::cut_syllable(gyu, 1, 2, true, 2000);
    ASSERT_TRUE(whole.ok);
    EXPECT_EQ(whole.vowel_start, 2000);
    EXPECT_EQ(whole.samples.size(), 6000u);
    EXPECT_EQ(whole.consonant, "gy");
    const auto shortened = vokari::voicebank::cut_syllable(gyu, 1, 2, true, 1999);
    ASSERT_TRUE(shortened.ok);
    EXPECT_EQ(shortened.vowel_start, 1999);
    EXPECT_EQ(shortened.model_consonant, 2000);
    // "あへーーね" read as あ and the particle え: no consonant where one was asked for.
    const auto particle =
        spoken({{"a", 0, 2000}, {"e", 2000, 4000}, {"e", 4000, 6000}, {"n", 6000, 7000}, {"e", 7000, 9000}});
    EXPECT_FALSE(vokari::voicebank::cut_syllable(particle, 1, 2, true, 2000).ok);
    // A contracted sound read as two morae (ki, ya): the vowel changes inside the cut.
    const auto split = spoken({{"a", 0, 2000},
                               {"k", 2000, 3000},
                               {"i", 3000, 4000},
                               {"y", 4000, 5000},
                               {"a", 5000, 7000},
                               {"n", 7000, 8000},
                               {"e", 8000, 9000}});
    EXPECT_FALSE(vokari::voicebank::cut_syllable(split, 1, 2, true, 2000).ok);
}

TEST(JtalkRecorder, BringsTheVowelToTheBanksPitchAndLeavesTheConsonant) {
    // A consonant, then a vowel whose pitch falls by a tenth half-way.
    using namespace synthetic;
    vokari::voicebank::SyllableCut cut;
    const std::vector<float> consonant = fricative(ms(60), 0.1);
    cut.samples = join(join(consonant, vowel(ms(150), 200.0, 0.5)), vowel(ms(150), 180.0, 0.5));
    cut.vowel_start = static_cast<long>(consonant.size());
    const double target = 22050.0 / 190.0;
    vokari::voicebank::flatten_vowel_pitch(cut, target);
    ASSERT_GT(cut.samples.size(), consonant.size() + 2 * vokari::voicebank::kMaxPeriod);
    EXPECT_TRUE(std::equal(consonant.begin(), consonant.end(), cut.samples.begin()));
    const long end = static_cast<long>(cut.samples.size());
    const double early =
        vokari::voicebank::median_period(cut.samples, cut.vowel_start + ms(20), cut.vowel_start + ms(110));
    const double late = vokari::voicebank::median_period(cut.samples, end - ms(90), end);
    EXPECT_NEAR(early / target, 1.0, 0.02) << early;
    EXPECT_NEAR(late / target, 1.0, 0.02) << late;
    EXPECT_NEAR(vokari::voicebank::vowel_period(cut) / target, 1.0, 0.02);
}

// A synthesiser that exits 0 but leaves no speech: the error names the file.
TEST(JtalkRecorder, ASynthesiserThatLeavesNoSpeechIsNamedWithTheFile) {
    vokari::voicebank::JtalkVoice voice;
    voice.program = "/bin/true";
    const auto recording = vokari::voicebank::record_with_jtalk("あ", voice, program_runner::scratch_folder());
    EXPECT_NE(recording.error.find("/speech.wav: "), std::string::npos) << recording.error;
}

// A vowel's pitch, from which the bank's common pitch is taken, is the median
// of its frames', not the pitch at its middle: here the middle stretch is an
// octave below the rest.
TEST(JtalkRecorder, TheVowelsPitchIsItsMedian) {
    using namespace synthetic;
    vokari::voicebank::SyllableCut cut;
    cut.samples = join(join(vowel(ms(150), 100.0, 0.5), vowel(ms(100), 200.0, 0.5)), vowel(ms(150), 100.0, 0.5));
    EXPECT_NEAR(vokari::voicebank::vowel_period(cut), 100.0, 1.0);
}

// Every syllable recorded with the installed voice; を, which open_jtalk says
// without its consonant in either script, is kept as it is said.
TEST(JtalkRecorder, RecordsEverySyllableAndWoAsItIsSaid) {
    const std::string missing = vokari::voicebank::missing_jtalk_parts(vokari::voicebank::bundled_jtalk_voice(1));
    if (!missing.empty()) GTEST_SKIP() << "missing:\n" << missing;
    const std::string out = program_runner::scratch_folder() + "jtalk-bank";
    fs::remove_all(out);
    const auto run = program_runner::run_program(JTALK_RECORD_PROGRAM, {out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("// wo: あをーーね, no consonant,"), std::string::npos) << run.out;
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 108);  // and oto.ini
    fs::remove_all(out);
}
