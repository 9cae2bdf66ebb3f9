// A plain radix-2 FFT of 512 points is plenty for frames of 441 samples.
#include "speech_distances.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace bench {
namespace {

constexpr int kFft = 512;
constexpr long kFrame = 441;  // 20 ms
constexpr double kRate = 22050.0;
constexpr double kPi = 3.14159265358979323846;

void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * kPi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += length) {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> u = a[i + k];
                const std::complex<double> v = a[i + k + length / 2] * w;
                a[i + k] = u + v;
                a[i + k + length / 2] = u - v;
                w *= step;
            }
        }
    }
}

// Power spectrum (257 bins) of the frame at `begin`; empty when silent.
std::vector<double> power_spectrum(const std::vector<float>& x, long begin) {
    if (begin < 0 || begin + kFrame > static_cast<long>(x.size())) return {};
    std::vector<std::complex<double>> a(kFft);
    double energy = 0.0;
    for (long i = 0; i < kFrame; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / (kFrame - 1));
        const double v = x[static_cast<size_t>(begin + i)];
        energy += v * v;
        a[static_cast<size_t>(i)] = v * window;
    }
    if (10.0 * std::log10(energy / kFrame + 1e-20) < -60.0) return {};
    fft(a);
    std::vector<double> power(kFft / 2 + 1);
    for (size_t k = 0; k < power.size(); ++k) power[k] = std::norm(a[k]) + 1e-12;
    return power;
}

double mel(double hz) { return 2595.0 * std::log10(1.0 + hz / 700.0); }

}  // namespace

std::vector<double> log_spectrum(const std::vector<float>& x, long begin) {
    std::vector<double> power = power_spectrum(x, begin);
    if (power.empty()) return {};
    std::vector<double> db(power.begin() + 1, power.end());
    for (double& v : db) v = 10.0 * std::log10(v);
    return db;
}

double log_spectral_distance(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (size_t k = 0; k < a.size(); ++k) sum += (a[k] - b[k]) * (a[k] - b[k]);
    return std::sqrt(sum / static_cast<double>(a.size()));
}

std::vector<std::vector<double>> mel_cepstra(const std::vector<float>& x) {
    constexpr int kBands = 24;
    constexpr int kCoefficients = 12;
    std::vector<double> edges(kBands + 2);
    for (int i = 0; i < kBands + 2; ++i) {
        const double m = mel(kRate / 2.0) * i / (kBands + 1);
        edges[static_cast<size_t>(i)] = 700.0 * (std::pow(10.0, m / 2595.0) - 1.0) / (kRate / kFft);
    }
    std::vector<std::vector<double>> cepstra;
    for (long begin = 0; begin + kFrame <= static_cast<long>(x.size()); begin += 110) {
        const std::vector<double> power = power_spectrum(x, begin);
        if (power.empty()) continue;
        std::vector<double> bands(kBands);
        for (int b = 0; b < kBands; ++b) {
            double sum = 1e-12;
            for (size_t k = 0; k < power.size(); ++k) {
                const double f = static_cast<double>(k);
                const double lo = edges[b], mid = edges[b + 1], hi = edges[b + 2];
                const double weight = f <= lo || f >= hi ? 0.0
                                      : f <= mid         ? (f - lo) / (mid - lo)
                                                         : (hi - f) / (hi - mid);
                sum += weight * power[k];
            }
            bands[static_cast<size_t>(b)] = std::log(sum);
        }
        std::vector<double> c(kCoefficients);
        for (int n = 1; n <= kCoefficients; ++n) {
            double sum = 0.0;
            for (int b = 0; b < kBands; ++b)
                sum += bands[static_cast<size_t>(b)] * std::cos(kPi * n * (b + 0.5) / kBands);
            c[static_cast<size_t>(n - 1)] = sum * std::sqrt(2.0 / kBands);
        }
        cepstra.push_back(c);
    }
    return cepstra;
}

double aligned_cepstral_distortion(const std::vector<std::vector<double>>& a,
                                   const std::vector<std::vector<double>>& b) {
    if (a.empty() || b.empty()) return std::numeric_limits<double>::quiet_NaN();
    const size_t n = a.size(), m = b.size();
    auto distortion = [&](size_t i, size_t j) {
        double sum = 0.0;
        for (size_t d = 0; d < a[i].size(); ++d) sum += (a[i][d] - b[j][d]) * (a[i][d] - b[j][d]);
        return 10.0 / std::log(10.0) * std::sqrt(2.0 * sum);
    };
    // cost[i][j]: cheapest path to (i, j); steps[i][j]: its length.
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<double> cost(n * m, infinity);
    std::vector<int> steps(n * m, 0);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < m; ++j) {
            const double here = distortion(i, j);
            if (i == 0 && j == 0) {
                cost[0] = here;
                steps[0] = 1;
                continue;
            }
            double best = infinity;
            int length = 0;
            auto consider = [&](size_t pi, size_t pj) {
                if (cost[pi * m + pj] < best) {
                    best = cost[pi * m + pj];
                    length = steps[pi * m + pj];
                }
            };
            if (i > 0 && j > 0) consider(i - 1, j - 1);
            if (i > 0) consider(i - 1, j);
            if (j > 0) consider(i, j - 1);
            cost[i * m + j] = best + here;
            steps[i * m + j] = length + 1;
        }
    }
    return cost[n * m - 1] / steps[n * m - 1];
}

}  // namespace bench
