// YIN: the cumulative-mean-normalised difference of a frame with its own
// lagged copy dips near 0 at the period; the first dip below a threshold is
// taken (avoids octave errors at multiples) and refined by a parabola.
#include "pitch_period.h"

#include <algorithm>

namespace vokari {
namespace voicebank {
namespace {

constexpr double kDipThreshold = 0.15;
constexpr double kPeriodicLimit = 0.3;
constexpr long kFrameHop = 110;

// The cumulative-mean-normalised difference of the `window` samples at
// `frame` with their copy lagged by 1 to `lags` samples, by lag ([0] is 1).
std::vector<double> normalised_differences(const float* frame, long window, int lags) {
    std::vector<double> normalised(static_cast<std::size_t>(lags) + 1, 1.0);
    double running = 0.0;
    for (int lag = 1; lag <= lags; ++lag) {
        double difference = 0.0;
        for (long j = 0; j < window; ++j) {
            const double step = static_cast<double>(frame[j]) - frame[j + lag];
            difference += step * step;
        }
        running += difference;
        normalised[lag] = running > 0.0 ? difference * lag / running : 1.0;
    }
    return normalised;
}

}  // namespace

PeriodEstimate estimate_period(const std::vector<float>& x, long begin) {
    PeriodEstimate result;
    const long window = kMaxPeriod;
    if (begin < 0 || begin + window + kMaxPeriod + 1 > static_cast<long>(x.size())) return result;
    const std::vector<double> normalised = normalised_differences(x.data() + begin, window, kMaxPeriod + 1);

    int best = -1;
    for (int lag = kMinPeriod; lag <= kMaxPeriod; ++lag) {
        if (normalised[lag] < kDipThreshold) {
            while (lag + 1 <= kMaxPeriod && normalised[lag + 1] < normalised[lag]) ++lag;
            best = lag;
            break;
        }
    }
    if (best < 0) {
        best = static_cast<int>(std::min_element(normalised.begin() + kMinPeriod, normalised.begin() + kMaxPeriod + 1) -
                                normalised.begin());
    }
    result.aperiodicity = normalised[best];
    if (result.aperiodicity > kPeriodicLimit) return result;

    // Vertex of the parabola through the dip and its neighbours.
    const double left = normalised[best - 1];
    const double centre = normalised[best];
    const double right = normalised[best + 1];
    const double curvature = left - 2.0 * centre + right;
    const double shift = curvature > 0.0 ? 0.5 * (left - right) / curvature : 0.0;
    result.period = best + std::clamp(shift, -0.5, 0.5);
    return result;
}

double aperiodicity_near(const std::vector<float>& x, long begin, double period) {
    const long window = static_cast<long>(1.2 * period);
    const int low = std::max(1, static_cast<int>(0.7 * period));
    const int high = static_cast<int>(1.4 * period) + 1;
    if (begin < 0 || begin + window + high > static_cast<long>(x.size())) return 1.0;
    const std::vector<double> normalised = normalised_differences(x.data() + begin, window, high);
    return std::min(1.0, *std::min_element(normalised.begin() + low, normalised.end()));
}

double median_period(const std::vector<float>& x, long begin, long end) {
    std::vector<double> periods;
    long frames = 0;
    for (long at = begin; at + 2 * kMaxPeriod + 1 <= end; at += kFrameHop) {
        ++frames;
        const PeriodEstimate estimate = estimate_period(x, at);
        if (estimate.period > 0.0) periods.push_back(estimate.period);
    }
    if (periods.empty() || periods.size() * 3 < static_cast<size_t>(frames)) return 0.0;
    std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
    return periods[periods.size() / 2];
}

}  // namespace voicebank
}  // namespace vokari
