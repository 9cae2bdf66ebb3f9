// Level and pitch corrections that make every syllable of a bank come out
// equally loud and at one pitch.
#pragma once

#include <string>
#include <vector>

#include "slot_analysis.h"

namespace vokari {
namespace voicebank {

struct SlotTuning {
    double correct_frequency = 1.0;  // playback-rate factor: target pitch / measured pitch
    double correct_level = 1.0;      // gain factor: target loudness / measured loudness
    bool beyond_limits = false;      // a factor had to be clamped: the slot would not match the bank
    double wanted_frequency = 1.0;   // the factors before clamping, for the report
    double wanted_level = 1.0;
};

struct BankTuning {
    double gain = 1.0;                  // applied to every sample before encoding
    double target_period = 0.0;         // samples: the median period of the bank
    double target_rms = 0.0;            // the median loudness, before `gain`
    std::vector<SlotTuning> slots;      // parallel to the samples given
    std::vector<std::string> problems;  // factors that hit the renderer's limits
};

// Loudness that the bank's median vowel is given, on the +-1.0 scale (about
// -14 dB below full scale, leaving room for overlapping syllables).
constexpr double kTargetRms = 0.2;

// Chooses the bank gain (median vowel at kTargetRms, no sample clipped) and,
// per sample, the factors that bring its vowel to the median period and
// loudness.  Samples whose period or loudness is unknown keep 1.0.  Factors
// are kept within the renderer's limits (rate 0.25..3, level 0..3); a slot
// whose factor had to be clamped is marked `beyond_limits` and named in
// `problems`.
BankTuning compute_tuning(const std::vector<SlotSample>& samples);

}  // namespace voicebank
}  // namespace vokari
