// Spectral measures for comparing rendered speech: log power spectra of
// short frames, the log-spectral distance between two of them, mel cepstra
// and their distortion after dynamic time warping.
#pragma once

#include <vector>

namespace bench {

// Log power spectrum (dB, 256 bins) of the 20 ms of `x` (22050 Hz) starting
// at `begin`, Hann-windowed; empty when the frame does not fit or is silent
// (below -60 dBFS).
std::vector<double> log_spectrum(const std::vector<float>& x, long begin);

// Root-mean-square difference of two log spectra, dB.
double log_spectral_distance(const std::vector<double>& a, const std::vector<double>& b);

// Mel cepstra (coefficients 1..12 of 24 mel bands) of `x` in 20 ms frames
// every 5 ms, leaving out silent frames.
std::vector<std::vector<double>> mel_cepstra(const std::vector<float>& x);

// Mean mel-cepstral distortion (dB) along the cheapest alignment of `a` and `b`.
double aligned_cepstral_distortion(const std::vector<std::vector<double>>& a,
                                   const std::vector<std::vector<double>>& b);

}  // namespace bench
