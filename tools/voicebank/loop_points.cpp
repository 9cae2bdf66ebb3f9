// Loop search by cross-correlation of the waveform around candidate start
// points with the waveform around the loop end, then a cross-fade so that
// what remains of the mismatch (the period drifts a little) is blended away.
#include "loop_points.h"

#include <algorithm>
#include <cmath>

namespace vokari {
namespace voicebank {
namespace {

// Normalised cross-correlation of x[a - half, a + half) with x[b - half, b + half).
double similarity(const std::vector<float>& x, long a, long b, long half) {
    double ab = 0.0;
    double aa = 0.0;
    double bb = 0.0;
    for (long i = -half; i < half; ++i) {
        const double va = x[a + i];
        const double vb = x[b + i];
        ab += va * vb;
        aa += va * va;
        bb += vb * vb;
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

}  // namespace

LoopPoints find_loop(const std::vector<float>& x, long region_begin, long region_end, double period, long min_length) {
    LoopPoints loop;
    const long n = static_cast<long>(x.size());
    if (period <= 0.0) return loop;
    const long half = static_cast<long>(std::ceil(period));
    const long periods = std::max(1L, static_cast<long>(std::ceil(min_length / period)));
    const long end = std::min(region_end, n - half - 1);
    const long nominal = end - static_cast<long>(std::lround(periods * period));
    const long search = half / 2;
    if (nominal - search - half < std::max(region_begin, 0L)) return loop;

    double best = -2.0;
    for (long start = nominal - search; start <= nominal + search; ++start) {
        const double score = similarity(x, start, end, half);
        if (score > best) {
            best = score;
            loop.start = start;
        }
    }
    loop.end = end;
    return loop;
}

void close_loop(std::vector<float>& x, const LoopPoints& loop, long blend) {
    blend = std::min({blend, loop.start, loop.end - loop.start});
    for (long j = 0; j < blend; ++j) {
        const double weight = static_cast<double>(j + 1) / blend;
        float& tail = x[static_cast<size_t>(loop.end - blend + j)];
        const float lead = x[static_cast<size_t>(loop.start - blend + j)];
        tail = static_cast<float>(tail * (1.0 - weight) + lead * weight);
    }
    x.resize(static_cast<size_t>(loop.end) + 1);
    x[static_cast<size_t>(loop.end)] = x[static_cast<size_t>(loop.start)];
}

}  // namespace voicebank
}  // namespace vokari
