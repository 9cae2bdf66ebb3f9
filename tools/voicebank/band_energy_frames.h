// Short-time loudness and spectral shape of a recording, frame by frame: the
// features the vowel-onset search compares with the steady vowel.
#pragma once

#include <array>
#include <vector>

namespace vokari {
namespace voicebank {

constexpr int kShapeBands = 20;
constexpr int kFrameLength = 512;  // samples, Hann window (23 ms)
constexpr long kFrameHop = 55;     // samples between frame centres (2.5 ms)

struct SpectralFrame {
    double level_db = -120.0;                 // mean power of the frame, dB
    std::array<double, kShapeBands> shape{};  // band powers in dB less their mean
};

// Frame k is centred on sample k * kFrameHop (the signal is taken as zero
// outside x); one frame per hop across the whole of x.
std::vector<SpectralFrame> band_energy_frames(const std::vector<float>& x);

// Root-mean-square difference of two spectral shapes, dB.
double shape_distance(const SpectralFrame& a, const SpectralFrame& b);

}  // namespace voicebank
}  // namespace vokari
