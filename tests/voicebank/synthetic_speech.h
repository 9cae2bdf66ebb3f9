// Synthetic recordings whose onsets and periods are known exactly, for
// checking the builder's estimates.
#pragma once

#include <vector>

namespace synthetic {

constexpr int kRate = 22050;

// A vowel-like tone: harmonics of the (fractional) period `period` samples
// shaped by two formant peaks at `formant1` and `formant2` Hz, peak
// amplitude about `amplitude`.
std::vector<float> vowel(long length, double period, double amplitude, double formant1 = 700.0,
                         double formant2 = 1200.0);

// Deterministic white-ish noise of RMS `rms`, high-passed like a fricative.
std::vector<float> fricative(long length, double rms, unsigned seed = 1);

// `length` samples of digital silence.
std::vector<float> silence(long length);

// a followed by b.
std::vector<float> join(std::vector<float> a, const std::vector<float>& b);

// Milliseconds to samples at kRate.
long ms(double milliseconds);

}  // namespace synthetic
