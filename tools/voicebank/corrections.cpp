// Medians rather than means: a few odd recordings must not pull the whole
// bank's pitch or loudness towards them.
#include "corrections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

constexpr double kHeadroom = 0.98;  // largest sample peak after the bank gain

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

BankTuning compute_tuning(const std::vector<SlotSample>& samples) {
    BankTuning tuning;
    std::vector<double> periods;
    std::vector<double> levels;
    double peak = 0.0;
    for (const SlotSample& s : samples) {
        if (s.period > 0.0) periods.push_back(s.period);
        if (s.rms > 0.0) levels.push_back(s.rms);
        for (float v : s.samples) peak = std::max(peak, static_cast<double>(std::fabs(v)));
    }
    tuning.target_period = median(periods);
    tuning.target_rms = median(levels);
    if (tuning.target_rms > 0.0) tuning.gain = kTargetRms / tuning.target_rms;
    if (peak * tuning.gain > kHeadroom) tuning.gain = kHeadroom / peak;

    for (const SlotSample& s : samples) {
        SlotTuning slot;
        if (s.period > 0.0 && tuning.target_period > 0.0) slot.correct_frequency = s.period / tuning.target_period;
        if (s.rms > 0.0 && tuning.target_rms > 0.0) slot.correct_level = tuning.target_rms / s.rms;
        slot.wanted_frequency = slot.correct_frequency;
        slot.wanted_level = slot.correct_level;
        const double frequency = std::clamp(slot.correct_frequency, 0.25, 3.0);
        const double level = std::clamp(slot.correct_level, 0.0, 3.0);
        if (frequency != slot.correct_frequency || level != slot.correct_level) {
            char line[160];
            std::snprintf(line, sizeof line, "%s: correction beyond the renderer's limits (rate x%.3f, level x%.3f)",
                          kSyllables[s.slot].romaji, slot.correct_frequency, slot.correct_level);
            tuning.problems.push_back(line);
            slot.beyond_limits = true;
        }
        slot.correct_frequency = frequency;
        slot.correct_level = level;
        tuning.slots.push_back(slot);
    }
    return tuning;
}

}  // namespace voicebank
}  // namespace vokari
