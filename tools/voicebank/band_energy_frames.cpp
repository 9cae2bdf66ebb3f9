// Band powers from a radix-2 FFT of each Hann-windowed frame, the bands
// spaced evenly on the mel scale from 100 Hz to 8 kHz so that the first
// formants get several bands each.
#include "band_energy_frames.h"

#include <cmath>
#include <complex>

#include "audio_input.h"

namespace vokari {
namespace voicebank {
namespace {

using Complex = std::complex<double>;

// In-place iterative FFT; the length must be a power of two.
void fft(std::vector<Complex>& values) {
    const size_t n = values.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(values[i], values[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * M_PI / static_cast<double>(length);
        const Complex unit(std::cos(angle), std::sin(angle));
        for (size_t start = 0; start < n; start += length) {
            Complex twiddle(1.0, 0.0);
            for (size_t k = 0; k < length / 2; ++k) {
                const Complex even = values[start + k];
                const Complex odd = values[start + k + length / 2] * twiddle;
                values[start + k] = even + odd;
                values[start + k + length / 2] = even - odd;
                twiddle *= unit;
            }
        }
    }
}

double mel(double hz) { return 2595.0 * std::log10(1.0 + hz / 700.0); }

// FFT bin at which each band starts; entry kShapeBands ends the last band.
std::array<int, kShapeBands + 1> band_edges() {
    std::array<int, kShapeBands + 1> edges{};
    const double low = mel(100.0);
    const double high = mel(8000.0);
    for (int b = 0; b <= kShapeBands; ++b) {
        const double m = low + (high - low) * b / kShapeBands;
        const double hz = 700.0 * (std::pow(10.0, m / 2595.0) - 1.0);
        edges[b] = static_cast<int>(std::lround(hz * kFrameLength / kBankRate));
    }
    for (int b = 1; b <= kShapeBands; ++b) edges[b] = std::max(edges[b], edges[b - 1] + 1);
    return edges;
}

}  // namespace

std::vector<SpectralFrame> band_energy_frames(const std::vector<float>& x) {
    static const std::array<int, kShapeBands + 1> edges = band_edges();
    std::vector<double> window(kFrameLength);
    for (int i = 0; i < kFrameLength; ++i) window[i] = 0.5 - 0.5 * std::cos(2.0 * M_PI * (i + 0.5) / kFrameLength);

    const long count = static_cast<long>(x.size()) / kFrameHop + 1;
    std::vector<SpectralFrame> frames(static_cast<size_t>(count));
    std::vector<Complex> buffer(kFrameLength);
    for (long k = 0; k < count; ++k) {
        const long first = k * kFrameHop - kFrameLength / 2;
        for (int i = 0; i < kFrameLength; ++i) {
            const long at = first + i;
            const double value = at >= 0 && at < static_cast<long>(x.size()) ? x[static_cast<size_t>(at)] : 0.0;
            buffer[i] = Complex(value * window[i], 0.0);
        }
        fft(buffer);
        SpectralFrame& frame = frames[static_cast<size_t>(k)];
        double total = 0.0;
        double mean_db = 0.0;
        for (int b = 0; b < kShapeBands; ++b) {
            double power = 0.0;
            for (int bin = edges[b]; bin < edges[b + 1]; ++bin) power += std::norm(buffer[bin]);
            total += power;
            frame.shape[b] = 10.0 * std::log10(power / (edges[b + 1] - edges[b]) + 1e-12);
            mean_db += frame.shape[b] / kShapeBands;
        }
        for (double& band : frame.shape) band -= mean_db;
        frame.level_db = 10.0 * std::log10(total / kFrameLength + 1e-12);
    }
    return frames;
}

double shape_distance(const SpectralFrame& a, const SpectralFrame& b) {
    double sum = 0.0;
    for (int i = 0; i < kShapeBands; ++i) {
        const double d = a.shape[i] - b.shape[i];
        sum += d * d;
    }
    return std::sqrt(sum / kShapeBands);
}

}  // namespace voicebank
}  // namespace vokari
