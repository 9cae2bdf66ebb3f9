// Vowel onsets estimated on the bundled voice's own recordings, against the
// boundaries the synthesiser reports for them (its phoneme events).
//
// Bound: median error at most 20 ms and worst at most 80 ms.  The
// synthesiser places the boundary of stops and fricatives at voicing onset,
// which the builder finds within a few milliseconds, but for nasals, glides
// and voiced stops it assigns a 50-150 ms formant transition to the
// consonant by its own convention, where the builder marks the acoustic
// change; those syllables (about half of them) are 10-50 ms early, which sets
// the median, and the worst cases (about 40-65 ms) are such transitions.  80 ms is less than the
// shortest fade the builder gives a consonant (its length plus 20 ms) plus
// a quarter of the default 130 ms syllable, so even the worst estimate
// keeps the vowel inside the consonant's fade.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "espeak_recording.h"
#include "program_runner.h"
#include "sample_shaping.h"
#include "slot_analysis.h"
#include "syllables.h"

using namespace vokari::voicebank;

namespace {

struct OnsetErrors {
    double median_ms = 0.0;
    double worst_ms = 0.0;
    std::string worst_syllable;
};

OnsetErrors measure_errors(int speaker) {
    std::vector<std::pair<double, std::string>> errors;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        if (is_vowel_syllable(slot)) continue;
        const EspeakRecording recording = record_with_espeak(recording_text(slot), bundled_voice(speaker));
        EXPECT_TRUE(recording.error.empty()) << recording.error;
        const long truth = vowel_start(recording);
        EXPECT_GE(truth, 0) << kSyllables[slot].romaji;
        // The builder's sample starts where the sound starts.
        const long trimmed = sound_span(recording.samples).begin;
        const SlotSample sample = analyse_slot(slot, recording.samples);
        const double error_ms = (sample.vowel_delay - (truth - trimmed)) * 1000.0 / recording.rate;
        errors.emplace_back(std::fabs(error_ms), kSyllables[slot].romaji);
    }
    std::sort(errors.begin(), errors.end());
    OnsetErrors result;
    result.median_ms = errors[errors.size() / 2].first;
    result.worst_ms = errors.back().first;
    result.worst_syllable = errors.back().second;
    return result;
}

}  // namespace

TEST(EspeakOnsets, EstimatesLandNearTheSynthesisersBoundaries) {
    // Speaker 1 first: the synthesiser keeps a voice variant ("+f3") when the
    // plain voice is selected after it, and the bank's recorder records each
    // speaker in a process of its own.
    for (int speaker : {1, 0}) {
        const OnsetErrors errors = measure_errors(speaker);
        std::printf("speaker %d: vowel onset error median %.1f ms, worst %.1f ms (%s)\n", speaker, errors.median_ms,
                    errors.worst_ms, errors.worst_syllable.c_str());
        EXPECT_LE(errors.median_ms, 20.0) << "speaker " << speaker;
        EXPECT_LE(errors.worst_ms, 80.0) << "speaker " << speaker << ", " << errors.worst_syllable;
    }
}

TEST(EspeakOnsets, RecordingTextsHoldVowelsAndAvoidMisreadings) {
    EXPECT_EQ(recording_text(slot_of_romaji("a")), "あー");
    EXPECT_EQ(recording_text(slot_of_romaji("n")), "んんん");
    EXPECT_EQ(recording_text(slot_of_romaji("ka")), "か");
    // りゅ is spoken by its phonemes: the kana would be read "ra-u".
    const EspeakRecording ryu = record_with_espeak(recording_text(slot_of_romaji("ryu")), bundled_voice(1));
    std::string names;
    for (const PhonemeMark& mark : ryu.phonemes) names += mark.name + " ";
    EXPECT_EQ(names.find(" a "), std::string::npos) << names;
    EXPECT_NE(names.find("u"), std::string::npos) << names;
}

TEST(EspeakRecorder, HelpPrintsTheUsageAndAWrongOptionIsRefused) {
    const program_runner::ProgramRun help = program_runner::run_program(ESPEAK_RECORD_PROGRAM, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: vokari-espeak-record", 0), 0u) << help.out;
    EXPECT_TRUE(help.err.empty()) << help.err;
    const program_runner::ProgramRun wrong = program_runner::run_program(ESPEAK_RECORD_PROGRAM, {"--pich", "3", "out"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("--pich"), std::string::npos) << wrong.err;
}

// Every syllable as a whole WAV file: the sizes its header gives are those of
// the file (a file left unclosed keeps the sizes of an empty one).
TEST(EspeakRecorder, WritesEverySyllableAsAWholeWavFile) {
    namespace fs = std::filesystem;
    const std::string out = program_runner::scratch_folder() + "espeak-bank";
    fs::remove_all(out);
    const program_runner::ProgramRun run = program_runner::run_program(ESPEAK_RECORD_PROGRAM, {out});
    ASSERT_EQ(run.status, 0) << run.err;
    int files = 0;
    for (const fs::directory_entry& wav : fs::directory_iterator(out)) {
        unsigned char riff[8] = {};
        std::ifstream(wav.path(), std::ios::binary).read(reinterpret_cast<char*>(riff), sizeof riff);
        const std::uintmax_t size = riff[4] | riff[5] << 8 | riff[6] << 16 | static_cast<std::uintmax_t>(riff[7]) << 24;
        ASSERT_EQ(size + 8, wav.file_size()) << wav.path();
        ++files;
    }
    EXPECT_EQ(files, kSyllableCount);
    fs::remove_all(out);
}
