// Loop points of a held vowel: the renderer plays a vowel sample once and
// then repeats it from its loop start to the end of its data.
#pragma once

#include <vector>

namespace vokari {
namespace voicebank {

struct LoopPoints {
    long start = -1;  // first sample of the loop (the renderer's "loopchunkofset")
    long end = -1;    // one past the last sample played in the loop; the sample
                      // kept at `end` repeats the one at `start`
};

// Finds loop points in x around the stretch [region_begin, region_end) of a
// steady vowel whose pitch period is `period` samples: the loop ends near
// region_end and spans a whole number of periods, at least `min_length`
// samples; the start is placed where the waveform best matches the waveform
// at the end (normalised cross-correlation over two periods).  An empty
// result (start -1) when the region is too short or too close to the start.
LoopPoints find_loop(const std::vector<float>& x, long region_begin, long region_end, double period, long min_length);

// Makes the wrap from the end of the loop back to its start seamless: the
// last `blend` samples before `end` are cross-faded into the samples before
// `start`, and x is cut to end + 1 samples with x[end] = x[start], so the
// renderer's interpolation across the wrap reads the loop start's values.
void close_loop(std::vector<float>& x, const LoopPoints& loop, long blend);

}  // namespace voicebank
}  // namespace vokari
