// Additive synthesis of a harmonic series under a two-peak envelope, and a
// linear-congruential noise source, both fully deterministic.
#include "synthetic_speech.h"

#include <cmath>

namespace synthetic {

std::vector<float> vowel(long length, double period, double amplitude, double formant1, double formant2) {
    const double f0 = kRate / period;
    std::vector<double> weights;
    double total = 0.0;
    for (int h = 1; h * f0 < 5000.0; ++h) {
        const double f = h * f0;
        const double w =
            1.0 / (1.0 + std::pow((f - formant1) / 150.0, 2)) + 0.5 / (1.0 + std::pow((f - formant2) / 200.0, 2));
        weights.push_back(w);
        total += w;
    }
    std::vector<float> x(static_cast<size_t>(length));
    for (long i = 0; i < length; ++i) {
        double value = 0.0;
        for (size_t h = 0; h < weights.size(); ++h) {
            value += weights[h] * std::sin(2.0 * M_PI * (h + 1) * i / period + 0.3 * h);
        }
        x[static_cast<size_t>(i)] = static_cast<float>(amplitude * value / total);
    }
    return x;
}

std::vector<float> fricative(long length, double rms, unsigned seed) {
    std::vector<float> x(static_cast<size_t>(length));
    unsigned state = seed;
    double previous = 0.0;
    for (long i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * std::sqrt(12.0);
        x[static_cast<size_t>(i)] = static_cast<float>(rms * (white - previous) / std::sqrt(2.0));
        previous = white;
    }
    return x;
}

std::vector<float> silence(long length) { return std::vector<float>(static_cast<size_t>(length), 0.0f); }

std::vector<float> join(std::vector<float> a, const std::vector<float>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

long ms(double milliseconds) { return std::lround(milliseconds * kRate / 1000.0); }

}  // namespace synthetic
