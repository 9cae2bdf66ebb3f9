// One recording turned into one bank sample: trimmed, measured and shaped,
// with the values its details entry needs.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

struct SlotSample {
    int slot = -1;
    std::vector<float> samples;         // the sample as it goes into the bank (+-1.0 scale)
    long vowel_delay = 0;               // consonant slot: samples from its start to the vowel
    long fade_length = 0;               // consonant slot: samples over which it fades out
    long loop_start = 0;                // vowel slot: first sample of the loop (to the end)
    long measure_begin = 0;             // the stretch of vowel that was measured,
    long measure_end = 0;               //   samples [begin, end) of `samples`
    double period = 0.0;                // pitch period there, samples; 0 = not found
    double rms = 0.0;                   // loudness there, RMS on the +-1.0 scale
    std::vector<std::string> problems;  // estimates that failed, in words
};

// Builds the sample of bank slot `slot` from its recording (mono, bank rate).
// Consonant slots keep the consonant and the start of the vowel, to the end
// of the fade; vowel slots keep the vowel to the end of a seamless loop.
SlotSample analyse_slot(int slot, const std::vector<float>& recording);

// Builds the sample of bank slot `slot` from a recording already cut to the
// syllable (mono, bank rate) whose parts are known: the fixed part ends at
// sample `fixed_end` and the vowel starts at sample `vowel_start`.  A
// consonant slot's vowel delay is `vowel_start`; a vowel slot's loop is
// searched past `fixed_end`.  Pitch, loudness and the fades as for
// analyse_slot; nothing is trimmed from the start.
SlotSample analyse_marked_slot(int slot, const std::vector<float>& cut, long fixed_end, long vowel_start);

}  // namespace voicebank
}  // namespace vokari
