// Checks that keep unusable recordings out of a bank: samples that are no
// numbers, clipping in the file as recorded, and recordings with too little
// sound to level.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

// A floating-point file may hold NaN, infinity or values so far past full
// scale (+-1.0) that mixing and resampling overflow; no analysis can measure
// them, and every later sum would spread them.  Returns what is wrong, to
// follow the file's name, or "" when every one of the `count` samples is a
// number within a thousand times full scale.
std::string unmeasurable_samples(const float* samples, std::size_t count);

// Samples at or beyond this magnitude (+-1.0 = full scale) count as full
// scale: -0.09 dBFS, above what a normalised recording holds for long.
constexpr float kFullScaleSample = 0.99f;
// This many consecutive equal full-scale samples in one channel are clipping.
constexpr int kClippedRun = 3;

// True when any channel of the interleaved `frames` (`channels` values per
// frame, +-1.0 scale) holds kClippedRun consecutive identical samples at or
// beyond kFullScaleSample, or any sample beyond full scale (float files).
bool is_clipped(const float* frames, std::size_t frame_count, int channels);

// The loudest 10 ms block of a recording must reach this RMS (-50 dBFS);
// below it the recording is silence and noise that levelling would only
// amplify.
constexpr double kNearSilentRms = 0.00316;

// True when no 10 ms block of `x` (mono, bank rate, +-1.0 scale) reaches
// kNearSilentRms.
bool is_nearly_silent(const std::vector<float>& x);

}  // namespace voicebank
}  // namespace vokari
