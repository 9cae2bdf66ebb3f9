// Objective checks on the bundled voice in voices/default: every slot of
// both speakers present in the module's layout, seamless vowel loops, no
// click where a sample starts or stops, even loudness and pitch once the
// details' corrections are applied, and every vowel where the recorder's
// duration model put it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "pitch_period.h"
#include "base/mulaw.h"
#include "base/wav_format.h"
#include "vokari_voice_format.h"
#include "syllables.h"
#include "details_file.h"

using namespace vokari::voicebank;

namespace {

constexpr double kFullScale = 8158.0;

struct BankSlot {
    std::vector<std::uint8_t> file;
    std::vector<float> decoded;  // +-1.0 scale
    std::map<std::string, double> details;
};

std::string directory_of(int speaker, int slot) {
    return std::string(VOKARI_SOURCE_DIR) + "/voices/default/" + (is_vowel_syllable(slot) ? "vokariv" : "vokaric") +
           std::to_string(speaker);
}

const std::vector<BankSlot>& bank(int speaker) {
    static std::vector<BankSlot> banks[2];
    std::vector<BankSlot>& slots = banks[speaker];
    if (!slots.empty()) return slots;
    slots.resize(kSyllableCount);
    const auto vowel_details = voicebank_test::read_details(directory_of(speaker, 0) + "/details.txt");
    const auto consonant_details = voicebank_test::read_details(directory_of(speaker, 5) + "/details.txt");
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        BankSlot& s = slots[slot];
        std::ifstream in(directory_of(speaker, slot) + "/" + std::to_string(slot) + ".wav", std::ios::binary);
        s.file.assign(std::istreambuf_iterator<char>(in), {});
        for (size_t i = vokari::kWavHeaderSize; i < s.file.size(); ++i) {
            s.decoded.push_back(static_cast<float>(vokari::mulaw_decode_table[s.file[i]] / kFullScale));
        }
        const auto& details = is_vowel_syllable(slot) ? vowel_details : consonant_details;
        if (details.count(slot)) s.details = details.at(slot);
    }
    return slots;
}

std::vector<int> vowel_slots() { return {0, 1, 2, 3, 4, 45}; }

double rms(const std::vector<float>& x, long begin, long end) {
    double sum = 0.0;
    for (long i = begin; i < end; ++i) sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

TEST(DefaultVoice, HoldsAllSlotsOfBothSpeakersInTheModulesLayout) {
    int present = 0;
    for (int speaker : {0, 1}) {
        for (int slot = 0; slot < kSyllableCount; ++slot) {
            const BankSlot& s = bank(speaker)[slot];
            // At least the shortest fade of 20 ms.
            ASSERT_GT(s.file.size(), 58u + 441u) << "speaker " << speaker << " slot " << slot;
            std::vector<std::uint8_t> header(vokari::kWavHeaderSize);
            vokari::write_wav_header(header.data(), static_cast<std::int32_t>(s.decoded.size()));
            EXPECT_TRUE(std::equal(header.begin(), header.end(), s.file.begin())) << "slot " << slot;
            EXPECT_EQ(s.details.count("correct.level"), 1u) << "slot " << slot;
            EXPECT_EQ(s.details.count("loopchunkofset"), 1u) << "slot " << slot;
            if (!is_vowel_syllable(slot)) {
                EXPECT_EQ(s.details.count("adjust.vowel.delay"), 1u) << "slot " << slot;
            }
            ++present;
        }
    }
    EXPECT_EQ(present, 214);
}

TEST(DefaultVoice, VowelLoopsAreSeamless) {
    for (int speaker : {0, 1}) {
        for (int slot : vowel_slots()) {
            const std::vector<float>& x = bank(speaker)[slot].decoded;
            const long start = static_cast<long>(bank(speaker)[slot].details.at("loopchunkofset"));
            const long n = static_cast<long>(x.size());
            ASSERT_GT(start, 0);
            ASSERT_LT(start, n - 100);
            // At rate 1 the renderer plays x[n - 2] and then x[start].
            const double seam = std::fabs(static_cast<double>(x[start]) - x[n - 2]);
            double largest = 0.0;
            for (long i = start; i + 1 <= n - 2; ++i)
                largest = std::max(largest, std::fabs(static_cast<double>(x[i + 1]) - x[i]));
            EXPECT_LE(seam, largest) << "speaker " << speaker << " " << kSyllables[slot].romaji;
        }
    }
}

TEST(DefaultVoice, NoSampleStartsOrStopsWithAClick) {
    for (int speaker : {0, 1}) {
        for (int slot = 0; slot < kSyllableCount; ++slot) {
            const std::vector<float>& x = bank(speaker)[slot].decoded;
            // The start may not step further than the sound itself ever does.
            double opening = 0.0;
            for (int i = 0; i < 22; ++i) opening = std::max(opening, std::fabs(static_cast<double>(x[i + 1]) - x[i]));
            double elsewhere = 0.0;
            for (size_t i = 22; i + 1 < x.size(); ++i) {
                elsewhere = std::max(elsewhere, std::fabs(static_cast<double>(x[i + 1]) - x[i]));
            }
            EXPECT_LE(std::fabs(x.front()), 0.02) << "speaker " << speaker << " " << kSyllables[slot].romaji;
            EXPECT_LE(opening, elsewhere) << "speaker " << speaker << " " << kSyllables[slot].romaji;
            // A consonant sample can run out before its fade when played fast.
            if (!is_vowel_syllable(slot)) {
                EXPECT_LE(std::fabs(x.back()), 0.02) << kSyllables[slot].romaji;
            }
        }
    }
}

TEST(DefaultVoice, CorrectedVowelsAreEvenInLoudnessAndPitch) {
    for (int speaker : {0, 1}) {
        std::vector<double> levels_db;
        std::vector<double> periods;
        for (int slot : vowel_slots()) {
            const BankSlot& s = bank(speaker)[slot];
            const long start = static_cast<long>(s.details.at("loopchunkofset"));
            const long end = static_cast<long>(s.decoded.size()) - 1;
            levels_db.push_back(20.0 * std::log10(rms(s.decoded, start, end) * s.details.at("correct.level")));
            // Played at correct_frequency, the period shrinks by that factor.
            const double period = median_period(s.decoded, start, end);
            ASSERT_GT(period, 0.0) << kSyllables[slot].romaji;
            periods.push_back(period / s.details.at("correct.frequency"));
        }
        const double level = median(levels_db);
        const double period = median(periods);
        for (size_t i = 0; i < levels_db.size(); ++i) {
            const char* name = kSyllables[vowel_slots()[i]].romaji;
            EXPECT_NEAR(levels_db[i], level, 3.0) << "speaker " << speaker << " " << name;
            EXPECT_NEAR(periods[i] / period, 1.0, 0.05) << "speaker " << speaker << " " << name;
        }
    }
}

TEST(DefaultVoice, SpeakersAreClearlyApartInPitch) {
    auto pitch_of = [](int speaker) {
        const BankSlot& a = bank(speaker)[0];
        const long start = static_cast<long>(a.details.at("loopchunkofset"));
        return 22050.0 / (median_period(a.decoded, start, static_cast<long>(a.decoded.size()) - 1) /
                          a.details.at("correct.frequency"));
    };
    EXPECT_GT(pitch_of(0), 1.5 * pitch_of(1));
}

// The vowel of a consonant sample starts where the syllable's consonant
// ends in the trained voice's duration model (the recorder names that
// length per syllable in the details), give or take a quarter, and never
// later than 110 ms: the module starts a sample at its kana's time, so a
// later vowel is heard late.
TEST(DefaultVoice, VowelsStartAfterTheConsonantsNaturalLength) {
    for (int speaker : {0, 1}) {
        const std::string path = directory_of(speaker, 5) + "/details.txt";
        std::ifstream in(path);
        std::map<std::string, double> model_ms;
        for (std::string line; std::getline(in, line);) {
            const size_t colon = line.find(':');
            const size_t model = line.find(" ms in the duration model");
            if (line.rfind("// ", 0) != 0 || colon == std::string::npos || model == std::string::npos) continue;
            const size_t number = line.rfind(' ', model - 1) + 1;
            model_ms[line.substr(3, colon - 3)] = std::stod(line.substr(number, model - number));
        }
        int checked = 0;
        for (int slot = 0; slot < kSyllableCount; ++slot) {
            if (is_vowel_syllable(slot)) continue;
            const std::string name = kSyllables[slot].romaji;
            ASSERT_EQ(model_ms.count(name), 1u) << path << " names no model length for " << name;
            const double onset_ms = bank(speaker)[slot].details.at("adjust.vowel.delay") * 1000.0 / 22050.0;
            EXPECT_LE(onset_ms, 110.0) << "speaker " << speaker << " " << name;
            EXPECT_NEAR(onset_ms, model_ms[name], 0.25 * model_ms[name] + 0.5) << "speaker " << speaker << " " << name;
            ++checked;
        }
        EXPECT_EQ(checked, 101);
    }
}
