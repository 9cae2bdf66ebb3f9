// Pitch period estimation with the YIN difference function.
#pragma once

#include <vector>

namespace vokari {
namespace voicebank {

// Lag limits in samples at the bank rate: 450 Hz down to 60 Hz.
constexpr int kMinPeriod = 49;
constexpr int kMaxPeriod = 367;

struct PeriodEstimate {
    double period = 0.0;        // samples (fractional); 0 when no period was found
    double aperiodicity = 1.0;  // 0 = perfectly periodic, near 1 = noise
};

// Period of the frame that starts at sample `begin` of `x`: the frame is
// kMaxPeriod samples long and is compared with itself up to kMaxPeriod later,
// so x must hold begin + 2 * kMaxPeriod samples (else the result is empty).
PeriodEstimate estimate_period(const std::vector<float>& x, long begin);

// Aperiodicity (0 = periodic, near 1 = noise) of the frame of x that starts
// at `begin`, 1.2 periods long, judged only at lags within -30 %..+40 % of
// `period` (samples): a voicing test for a signal whose pitch is known.
// 1.0 when x ends before the frame and its lagged copy.
double aperiodicity_near(const std::vector<float>& x, long begin, double period);

// Median period (samples) of the periodic frames lying wholly in
// x[begin, end) (each frame with its lagged copy), frames
// every 110 samples (5 ms); 0 when fewer than a third of them are periodic.
double median_period(const std::vector<float>& x, long begin, long end);

}  // namespace voicebank
}  // namespace vokari
