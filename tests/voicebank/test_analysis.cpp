// The builder's estimates on synthetic recordings whose truth is known:
// pitch periods, vowel onsets behind three kinds of consonant, loop points,
// silence trimming, corrections, and reading of common file formats.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio_input.h"
#include "corrections.h"
#include "list_chunk_check.h"
#include "loop_points.h"
#include "pitch_period.h"
#include "program_runner.h"
#include "sample_shaping.h"
#include "slot_analysis.h"
#include "syllables.h"
#include "synthetic_speech.h"
#include "vowel_onset.h"

using namespace vokari::voicebank;
using synthetic::ms;

namespace {

double max_step(const std::vector<float>& x, long begin, long end) {
    double largest = 0.0;
    for (long i = begin; i + 1 < end; ++i) largest = std::max(largest, std::fabs(static_cast<double>(x[i + 1]) - x[i]));
    return largest;
}

}  // namespace

TEST(PitchPeriod, FindsFractionalPeriodsAcrossTheVoiceRange) {
    for (double period : {55.3, 100.0, 147.25, 220.5, 330.8}) {
        const std::vector<float> x = synthetic::vowel(4000, period, 0.5);
        const PeriodEstimate estimate = estimate_period(x, 500);
        EXPECT_NEAR(estimate.period, period, 0.5) << "period " << period;
        EXPECT_LT(estimate.aperiodicity, 0.1);
        EXPECT_NEAR(median_period(x, 0, 4000), period, 0.5);
        EXPECT_LT(aperiodicity_near(x, 500, period), 0.1);
    }
}

TEST(PitchPeriod, NoiseHasNoPeriod) {
    const std::vector<float> x = synthetic::fricative(4000, 0.2);
    EXPECT_EQ(estimate_period(x, 500).period, 0.0);
    EXPECT_EQ(median_period(x, 0, 4000), 0.0);
    EXPECT_GT(aperiodicity_near(x, 500, 150.0), 0.5);
}

TEST(PitchPeriod, FrameBeyondTheSignalIsNotPeriodic) {
    const std::vector<float> x = synthetic::vowel(600, 100.0, 0.5);
    EXPECT_EQ(estimate_period(x, 0).period, 0.0);  // needs 2 * 367 + 1 samples
    EXPECT_EQ(aperiodicity_near(x, 500, 100.0), 1.0);
}

// Onset estimates must land within a few milliseconds of the true boundary.
constexpr double kOnsetToleranceMs = 5.0;

// Each cue on the consonant it serves, the vowel after it at the given time:
// a fricative; a short loud burst, then weaker aspiration noise; a quiet
// murmur with a low formant at the vowel's pitch; a voiced consonant as loud
// as the vowel, told apart by its shape alone.
TEST(VowelOnset, EachCueFindsTheVowelBehindItsConsonant) {
    const std::vector<float> burst =
        synthetic::join(synthetic::fricative(ms(8), 0.3, 7), synthetic::fricative(ms(40), 0.03, 9));
    const struct {
        const char* consonant;
        std::vector<float> before;
        double pitch;
        OnsetCue cue;
        double vowel_ms;
    } cases[] = {
        {"fricative", synthetic::fricative(ms(90), 0.08), 160.0, OnsetCue::Voicing, 90.0},
        {"burst and aspiration", burst, 120.0, OnsetCue::Voicing, 48.0},
        {"nasal", synthetic::vowel(ms(120), 150.0, 0.12, 250.0, 2500.0), 150.0, OnsetCue::LevelAndShape, 120.0},
        {"voiced", synthetic::vowel(ms(70), 150.0, 0.45, 300.0, 2200.0), 150.0, OnsetCue::SpectralShape, 70.0},
    };
    for (const auto& c : cases) {
        const VowelOnset onset =
            find_vowel_onset(synthetic::join(c.before, synthetic::vowel(ms(300), c.pitch, 0.5)), c.cue);
        EXPECT_NEAR(onset.sample * 1000.0 / synthetic::kRate, c.vowel_ms, kOnsetToleranceMs) << c.consonant;
        EXPECT_GT(onset.steady_begin, onset.sample) << c.consonant;
    }
}

TEST(VowelOnset, TooShortARecordingGivesNoOnset) {
    EXPECT_EQ(find_vowel_onset(synthetic::vowel(200, 100.0, 0.5), OnsetCue::Voicing).sample, -1);
}

TEST(VowelOnset, CuesFollowTheConsonant) {
    const struct {
        const char* romaji;
        OnsetCue cue;
    } cases[] = {
        {"ka", OnsetCue::Voicing},        {"ji", OnsetCue::Voicing},        {"hya", OnsetCue::Voicing},
        {"ba", OnsetCue::SpectralShape},  {"du", OnsetCue::SpectralShape},  {"na", OnsetCue::LevelAndShape},
        {"kyo", OnsetCue::LevelAndShape}, {"bya", OnsetCue::LevelAndShape},
    };
    for (const auto& c : cases) EXPECT_EQ(onset_cue(slot_of_romaji(c.romaji)), c.cue) << c.romaji;
}

TEST(LoopPoints, LoopSpansWholePeriodsAndWrapsSeamlessly) {
    const double period = 151.37;
    std::vector<float> x = synthetic::vowel(ms(400), period, 0.5);
    // A slow swell, so that the loop end does not match its start by itself.
    for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(x[i] * (0.8 + 0.4 * i / x.size()));
    const LoopPoints loop = find_loop(x, ms(50), ms(300), period, ms(50));
    ASSERT_GE(loop.start, ms(50));
    ASSERT_LE(loop.end, ms(300));
    const double periods = (loop.end - loop.start) / period;
    EXPECT_NEAR(periods, std::round(periods), 0.02);
    EXPECT_GE(loop.end - loop.start, ms(50));

    close_loop(x, loop, 151);
    ASSERT_EQ(static_cast<long>(x.size()), loop.end + 1);
    EXPECT_EQ(x[loop.end], x[loop.start]);
    // The renderer plays ..., x[end - 1], then x[start]: no larger a step than
    // any inside the loop.
    const double seam = std::fabs(static_cast<double>(x[loop.start]) - x[loop.end - 1]);
    EXPECT_LE(seam, max_step(x, loop.start, loop.end));
}

TEST(LoopPoints, RegionShorterThanTheLoopGivesNone) {
    const std::vector<float> x = synthetic::vowel(ms(200), 150.0, 0.5);
    EXPECT_EQ(find_loop(x, ms(100), ms(120), 150.0, ms(50)).start, -1);
    EXPECT_EQ(find_loop(x, 0, ms(150), 0.0, ms(50)).start, -1);
}

TEST(SampleShaping, SoundSpanSkipsSilenceAndKeepsAMargin) {
    const std::vector<float> x =
        synthetic::join(synthetic::join(synthetic::silence(ms(100)), synthetic::vowel(ms(200), 100.0, 0.5)),
                        synthetic::silence(ms(150)));
    const Span span = sound_span(x);
    EXPECT_NEAR(span.begin, ms(100), ms(5));
    EXPECT_LE(span.begin, ms(100));
    EXPECT_NEAR(span.end, ms(300), ms(5));
    EXPECT_GE(span.end, ms(300));
    EXPECT_EQ(sound_span(synthetic::silence(1000)).end, 0);
}

TEST(SampleShaping, FadesStartAndEndAtSilence) {
    std::vector<float> x(1000, 0.5f);
    fade_in(x, 100);
    fade_out(x, 200);
    EXPECT_LT(std::fabs(x.front()), 0.001);
    EXPECT_LT(std::fabs(x.back()), 0.001);
    EXPECT_FLOAT_EQ(x[500], 0.5f);
    for (int i = 1; i < 100; ++i) EXPECT_GE(x[i], x[i - 1]);
}

TEST(SlotAnalysis, ConsonantSampleEndsWithItsFade) {
    const std::vector<float> recording =
        synthetic::join(synthetic::join(synthetic::silence(ms(30)), synthetic::fricative(ms(100), 0.08)),
                        synthetic::vowel(ms(300), 150.0, 0.5));
    const SlotSample s = analyse_slot(slot_of_romaji("sa"), recording);
    EXPECT_TRUE(s.problems.empty());
    EXPECT_NEAR(s.vowel_delay, ms(102), ms(kOnsetToleranceMs));  // 2 ms of margin kept before the sound
    EXPECT_EQ(s.fade_length, s.vowel_delay + ms(80));
    EXPECT_EQ(static_cast<long>(s.samples.size()), s.fade_length + 221);
    EXPECT_NEAR(s.period, 150.0, 0.5);
    EXPECT_LT(std::fabs(s.samples.front()), 0.001);
    EXPECT_LT(std::fabs(s.samples.back()), 0.001);
}

TEST(SlotAnalysis, VowelSampleLoopsFromItsLoopStartToItsEnd) {
    const std::vector<float> x = synthetic::vowel(ms(500), 130.0, 0.5);
    const SlotSample s = analyse_slot(slot_of_romaji("a"), x);
    EXPECT_TRUE(s.problems.empty());
    EXPECT_GT(s.loop_start, 0);
    EXPECT_EQ(s.measure_begin, s.loop_start);
    EXPECT_EQ(s.measure_end + 1, static_cast<long>(s.samples.size()));
    EXPECT_NEAR(s.period, 130.0, 0.5);
    double power = 0.0;
    for (float v : x) power += static_cast<double>(v) * v;
    EXPECT_NEAR(s.rms, std::sqrt(power / x.size()), 0.01);
}

TEST(SlotAnalysis, ReportsWhatItCannotEstimate) {
    const SlotSample noise = analyse_slot(slot_of_romaji("o"), synthetic::fricative(ms(300), 0.1));
    EXPECT_FALSE(noise.problems.empty());
    const SlotSample tiny = analyse_slot(slot_of_romaji("ka"), synthetic::vowel(ms(30), 100.0, 0.5));
    EXPECT_FALSE(tiny.problems.empty());
    EXPECT_TRUE(tiny.samples.empty());
}

TEST(Corrections, BringEverySampleToTheMedianPitchAndLoudness) {
    std::vector<SlotSample> samples(3);
    const double periods[] = {100.0, 110.0, 121.0};
    const double levels[] = {0.05, 0.1, 0.4};
    for (int i = 0; i < 3; ++i) {
        samples[i].slot = i;
        samples[i].period = periods[i];
        samples[i].rms = levels[i];
        samples[i].samples.assign(10, static_cast<float>(levels[i]));
    }
    const BankTuning tuning = compute_tuning(samples);
    EXPECT_DOUBLE_EQ(tuning.target_period, 110.0);
    EXPECT_DOUBLE_EQ(tuning.target_rms, 0.1);
    EXPECT_DOUBLE_EQ(tuning.gain, kTargetRms / 0.1);
    for (int i = 0; i < 3; ++i) {
        // Played at correct_frequency, the period becomes the target one.
        EXPECT_NEAR(periods[i] / tuning.slots[i].correct_frequency, 110.0, 1e-9);
        EXPECT_NEAR(levels[i] * tuning.slots[i].correct_level, 0.1, 1e-9);
    }
    EXPECT_TRUE(tuning.problems.empty());
}

TEST(Corrections, KeepsWithinTheRendererAndFullScale) {
    std::vector<SlotSample> samples(3);
    for (int i = 0; i < 3; ++i) {
        samples[i].slot = i;
        samples[i].period = 100.0;
        samples[i].rms = 0.01;
    }
    samples[0].rms = 0.001;     // would need x10
    samples[1].period = 500.0;  // would need x5
    samples[2].samples = {0.9f, -0.9f};
    const BankTuning tuning = compute_tuning(samples);
    EXPECT_DOUBLE_EQ(tuning.slots[0].correct_level, 3.0);
    EXPECT_DOUBLE_EQ(tuning.slots[1].correct_frequency, 3.0);
    EXPECT_EQ(tuning.problems.size(), 2u);
    EXPECT_TRUE(tuning.slots[0].beyond_limits && tuning.slots[1].beyond_limits);
    EXPECT_FALSE(tuning.slots[2].beyond_limits);
    EXPECT_NEAR(0.9 * tuning.gain, 0.98, 1e-6);  // the loud sample just fits
}

namespace {

std::string write_test_file(const std::string& name, int rate, int channels, int format,
                            const std::vector<float>& interleaved) {
    const std::string path = program_runner::scratch_folder() + name;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return {};
    sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
    sf_close(file);
    return path;
}

}  // namespace

// A tone read from another rate, format and channel count comes out as mono
// at the bank rate with its period and level: 441 Hz in the left channel of
// float stereo at 44100 Hz, silence in the right, mixes to half amplitude.
TEST(AudioInput, ReadsOtherRatesFormatsAndChannelsAsMonoAtTheBankRate) {
    const struct {
        const char* name;
        int rate, channels, format;
        double tone, amplitude, peak;
    } cases[] = {
        {"stereo.wav", 44100, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 441.0, 0.8, 0.4},
        {"pcm24.wav", 16000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 200.0, 0.5, 0.5},
    };
    for (const auto& c : cases) {
        std::vector<float> frames;
        for (int i = 0; i < c.rate / 2; ++i) {
            frames.push_back(static_cast<float>(c.amplitude * std::sin(2.0 * M_PI * c.tone * i / c.rate)));
            if (c.channels == 2) frames.push_back(0.0f);
        }
        const std::string path = write_test_file(c.name, c.rate, c.channels, c.format, frames);
        const AudioReadResult audio = read_recording(path);
        ASSERT_TRUE(audio.error.empty()) << c.name << ": " << audio.error;
        EXPECT_NEAR(static_cast<double>(audio.samples.size()), 22050 / 2, 2) << c.name;
        EXPECT_NEAR(estimate_period(audio.samples, 2000).period, 22050.0 / c.tone, 0.3) << c.name;
        float peak = 0.0f;
        for (float v : audio.samples) peak = std::max(peak, std::fabs(v));
        EXPECT_NEAR(peak, c.peak, 0.01) << c.name;
        std::remove(path.c_str());
    }
}

TEST(AudioInput, ReportsAFileItCannotRead) {
    EXPECT_FALSE(read_recording(program_runner::scratch_folder() + "missing.wav").error.empty());
}

namespace {

// A 16-bit mono WAV of `frames` quiet samples that claims `rate` Hz.
std::string wav_at_rate(std::uint32_t rate, std::uint32_t frames) {
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xff);
    };
    bytes += "RIFF";
    put(36 + 2 * frames, 4);
    bytes += "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    bytes += "data";
    put(2 * frames, 4);
    for (std::uint32_t i = 0; i < frames; ++i) put(i % 2 ? 300 : 0xfed4, 2);
    return bytes;
}

}  // namespace

// A corrupt header's rate would make the resampler ask for gigabytes (1 Hz)
// or nothing; rates a recording can have are read.
TEST(AudioInput, RatesOutsideRecordingsAreRefusedAtBothEnds) {
    for (const std::uint32_t rate :
         {vokari::voicebank::kMinRecordingRate - 1, vokari::voicebank::kMaxRecordingRate + 1}) {
        const vokari::voicebank::AudioReadResult read = vokari::voicebank::read_recording_bytes(wav_at_rate(rate, 400));
        EXPECT_NE(read.error.find("unusable sample rate"), std::string::npos) << rate << ": " << read.error;
        EXPECT_TRUE(read.samples.empty());
    }
    for (const std::uint32_t rate : {vokari::voicebank::kMinRecordingRate, vokari::voicebank::kMaxRecordingRate}) {
        const vokari::voicebank::AudioReadResult read = vokari::voicebank::read_recording_bytes(wav_at_rate(rate, 400));
        EXPECT_EQ(read.error, "") << rate;
        EXPECT_NEAR(read.seconds, 400.0 / rate, 1e-9);
        EXPECT_NEAR(static_cast<double>(read.samples.size()), 400.0 * vokari::voicebank::kBankRate / rate, 2.0) << rate;
    }
}

namespace {

// A 16-bit WAV whose data chunk claims `data_length` bytes and holds
// `samples`, then a LIST chunk of the INFO type with one entry of
// `entry_length` bytes, the whole padded to 248 bytes.
std::string wav_with_list(std::uint32_t data_length, const std::string& samples, std::uint32_t entry_length) {
    constexpr std::uint32_t kFileSize = 248;
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xff);
    };
    bytes += "RIFF";
    put(kFileSize - 8, 4);
    bytes += "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(22050, 4), put(22050 * 2, 4), put(2, 2), put(16, 2);
    bytes += "data";
    put(data_length, 4);
    bytes += samples;
    bytes += "LIST";
    put(static_cast<std::uint32_t>(kFileSize - bytes.size() - 4), 4);
    bytes += "INFOIXYZ";
    put(entry_length, 4);
    bytes.resize(kFileSize, '\0');
    return bytes;
}

}  // namespace

// The same bytes read from memory and from disk give the same: a data chunk
// that claims more than the file holds (an odd length) is skipped to the end
// in both, not parsed as further chunks (here a second data chunk of two
// samples).  libsndfile loops for ever on a list entry whose length wraps its
// count of bytes read: such a file is refused, one byte shorter is read.
TEST(AudioInput, MemoryAndDiskReadTheSameAndListEntriesThatLoopTheParserAreRefused) {
    const std::string two_samples("data\4\0\0\0\0\0\0\0", 12);
    const struct {
        const char* name;
        std::string bytes;
        const char* error;
        std::size_t samples;
    } cases[] = {
        {"data past the end", wav_with_list(0x7f7f7f7f, two_samples, 100), "", (248 - 44) / 2},
        {"entry just short of wrapping", wav_with_list(4, std::string(4, '\0'), 0xfffffff2), "", 2},
        {"entry wrapping", wav_with_list(4, std::string(4, '\0'), 0xfffffff4), "damaged LIST chunk", 0},
    };
    for (const auto& c : cases) {
        const std::string path = program_runner::scratch_folder() + "list.wav";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(c.bytes.data(), 1, c.bytes.size(), file);
        std::fclose(file);
        for (const vokari::voicebank::AudioReadResult& read :
             {vokari::voicebank::read_recording_bytes(c.bytes), vokari::voicebank::read_recording(path)}) {
            if (*c.error == '\0') {
                EXPECT_EQ(read.error, "") << c.name;
            } else {
                EXPECT_NE(read.error.find(c.error), std::string::npos) << c.name << ": " << read.error;
            }
            EXPECT_EQ(read.samples.size(), c.samples) << c.name;
        }
        std::remove(path.c_str());
    }
}

// The frame count of a header: none is an empty recording, for the checks
// after reading to name; one more than the longest recording is refused
// before a buffer for it is asked for (the file is sparse).
TEST(AudioInput, FrameCountsFromNoneToOneTooMany) {
    const std::string empty_path = program_runner::scratch_folder() + "no-frames.wav";
    std::ofstream(empty_path, std::ios::binary) << wav_at_rate(16000, 0);
    const AudioReadResult empty = read_recording(empty_path);
    EXPECT_EQ(empty.error, "");
    EXPECT_TRUE(empty.samples.empty());

    const std::string long_path = program_runner::scratch_folder() + "too-many-frames.wav";
    std::string header = wav_at_rate(16000, 0);
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(2 * (kMaxRecordingSamples + 1));
    for (int i = 0; i < 4; ++i) {
        header[4 + i] = static_cast<char>((36 + data_bytes) >> (8 * i) & 0xff);
        header[40 + i] = static_cast<char>(data_bytes >> (8 * i) & 0xff);
    }
    std::ofstream(long_path, std::ios::binary) << header;
    std::filesystem::resize_file(long_path, header.size() + data_bytes);
    EXPECT_EQ(read_recording(long_path).error, "too long for a recording of syllables");
    std::remove(empty_path.c_str());
    std::remove(long_path.c_str());
}

// libsndfile reads a list from nine bytes on: a wrapping entry in a list of
// nine bytes is refused, one in a list of eight is not, and libsndfile skips
// that list.
TEST(AudioInput, ListsAreCheckedFromNineBytesOn) {
    for (const std::uint32_t length : {8u, 9u}) {
        std::string bytes = wav_with_list(4, std::string(4, '\0'), 0xfffffff4);
        for (int i = 0; i < 4; ++i) bytes[52 + i] = static_cast<char>(length >> (8 * i) & 0xff);  // the list's length
        EXPECT_EQ(has_looping_list_chunk(bytes), length == 9) << length;
        if (length == 8) {
            const AudioReadResult read = read_recording_bytes(bytes);
            EXPECT_EQ(read.samples.size(), 2u) << read.error;
        }
    }
}

// A consonant's recording that is vowel from its first sample: the vowel is
// found there, not reported missing.
TEST(SlotAnalysis, AVowelFromTheFirstSampleIsFoundThere) {
    const SlotSample s = analyse_slot(slot_of_romaji("ka"), synthetic::vowel(ms(300), 150.0, 0.5));
    EXPECT_EQ(s.vowel_delay, 0);
    EXPECT_TRUE(s.problems.empty()) << s.problems.front();
}
