// Silence trimming by block RMS and raised-cosine end fades.
#include "sample_shaping.h"

#include <algorithm>
#include <cmath>

namespace vokari {
namespace voicebank {
namespace {

constexpr long kBlock = 55;   // 2.5 ms at 22050 Hz
constexpr long kMargin = 44;  // 2 ms

// Weight of sample i of an n-sample fade from silence: rises from near 0 to 1.
double rising_weight(long i, long n) { return 0.5 - 0.5 * std::cos(M_PI * (i + 0.5) / n); }

}  // namespace

Span sound_span(const std::vector<float>& x, double floor_db) {
    const long blocks = static_cast<long>(x.size()) / kBlock;
    std::vector<double> power(static_cast<size_t>(blocks), 0.0);
    double loudest = 0.0;
    for (long b = 0; b < blocks; ++b) {
        double sum = 0.0;
        for (long i = b * kBlock; i < (b + 1) * kBlock; ++i) sum += static_cast<double>(x[i]) * x[i];
        power[b] = sum / kBlock;
        loudest = std::max(loudest, power[b]);
    }
    Span span;
    if (loudest <= 0.0) return span;
    const double floor = loudest * std::pow(10.0, -floor_db / 10.0);
    long first = 0;
    while (power[first] < floor) ++first;
    long last = blocks - 1;
    while (power[last] < floor) --last;
    span.begin = std::max(0L, first * kBlock - kMargin);
    span.end = std::min(static_cast<long>(x.size()), (last + 1) * kBlock + kMargin);
    return span;
}

void fade_in(std::vector<float>& x, long length) {
    length = std::min(length, static_cast<long>(x.size()));
    for (long i = 0; i < length; ++i) x[i] = static_cast<float>(x[i] * rising_weight(i, length));
}

void fade_out(std::vector<float>& x, long length) {
    const long n = static_cast<long>(x.size());
    length = std::min(length, n);
    for (long i = 0; i < length; ++i) {
        float& sample = x[static_cast<size_t>(n - 1 - i)];
        sample = static_cast<float>(sample * rising_weight(i, length));
    }
}

}  // namespace voicebank
}  // namespace vokari
