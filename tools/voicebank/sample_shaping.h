// Cutting a recording down to its sound and shaping its ends so that it
// starts and stops without a click.
#pragma once

#include <vector>

namespace vokari {
namespace voicebank {

struct Span {
    long begin = 0;  // first sample
    long end = 0;    // one past the last sample
};

// The part of x that holds sound: from the first to the last 2.5 ms block
// whose RMS lies within `floor_db` of the loudest block, widened by 2 ms on
// each side (within x).  Empty span for an all-silent x.
Span sound_span(const std::vector<float>& x, double floor_db = 40.0);

// Raised-cosine fade from silence over the first `length` samples of x.
void fade_in(std::vector<float>& x, long length);

// Raised-cosine fade to silence over the last `length` samples of x.
void fade_out(std::vector<float>& x, long length);

}  // namespace voicebank
}  // namespace vokari
