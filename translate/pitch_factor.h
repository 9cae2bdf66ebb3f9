// The pitch factor of the voice-control tags: 1.014546 raised to a number of
// pitch steps (48 steps make one octave).  Computed with plain double
// arithmetic in a fixed order, so that every build gets the same bits.
#pragma once

namespace vokari {

// 1.014546 ^ steps; +inf or 0 far outside the useful range, NaN for NaN.
double pitch_factor(double steps);

}  // namespace vokari
