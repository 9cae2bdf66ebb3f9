// One sounding phoneme sample of the renderer: its envelope, its read position
// in the slot's data, and the mixing of its output into a block of sums.
#pragma once

#include <cstdint>

#include "voice_data/phoneme_bank.h"

namespace vokari {

// The per-speaker factors that every rate and gain of a sounding sample is made of.
struct SpeakerTuning {
    double speaker_frequency;
    double consonant_frequency;
    double consonant_level;
};

struct SoundingSample {
    const PhonemeSlot* source;  // the slot in the bank (tuning values)
    const std::uint8_t* data;   // the slot's mu-law bytes
    std::int32_t size;          // bytes readable from `data`
    std::int32_t loop_chunk_offset;
    double position;                 // read position in source samples
    double rate;                     // source samples per output sample
    double gain;                     // silent while 0 or less
    double target_gain;              // end of a rising ramp; 100.0 = none
    double gain_step;                // added every sample; 0.0 = holding
    std::uint8_t is_vowel;           // 1: fades in, loops, can be released
    std::int32_t release_countdown;  // -1, or samples left before the fade
};

// Clamps `x` to lo..hi; a value that is not a number gives `lo`.
double clamp_to(double x, double lo, double hi);

// Starts a sounding sample of `slot` at the speaker's current `pitch` and `level`;
// `fade_in` is the vowel ramp length in samples (0: fixed step of 0.0006).
// False when the slot has no sample or the envelope could not be formed (an
// onset fade of 0 or fewer samples, a rising onset, a negative vowel fade):
// such a sounding sample would be silent, so none is started.
bool start_sample(const PhonemeSlot& slot, const SpeakerTuning& tuning, double pitch, double level, bool is_vowel,
                  std::int32_t fade_in, SoundingSample& sounding);

// Releases a sounding vowel sample: its fade begins 400 samples from now and it
// plays on at the rate of `previous_pitch` (unclamped).
void release_sample(SoundingSample& sounding, const SpeakerTuning& tuning, double previous_pitch);

// A holding sample (gain_step 0) follows the speaker's new pitch and level.
void refresh_sample(SoundingSample& sounding, const SpeakerTuning& tuning, double pitch, double level);

// The sample, whatever its envelope, plays on at `pitch`: the glide of a
// melody, which a voiced onset follows as the vowel does.
void glide_sample(SoundingSample& sounding, const SpeakerTuning& tuning, double pitch);

// Runs `count` output samples of the sample (envelope, then output) and adds
// its contributions to sums[0..count-1].
void mix_sample(SoundingSample& sounding, std::int64_t* sums, std::int32_t count);

// True when the sample is silent and can never sound again.
bool sample_finished(const SoundingSample& sounding);

}  // namespace vokari
