// Where the steady vowel of a consonant-vowel recording begins.
#pragma once

#include <vector>

namespace vokari {
namespace voicebank {

// What marks the start of the vowel behind a consonant.
enum class OnsetCue {
    Voicing,        // voiceless or released consonants: voicing starts (k, s, t, g, j, ...)
    SpectralShape,  // voiced throughout (b, z, w): the spectrum turns into the vowel's
    LevelAndShape,  // sonorants and glides (n, m, y, r, ky, ...): the vowel's loudness
                    // and spectrum are reached
};

// The cue that fits the consonant of bank slot `slot` (a consonant slot).
OnsetCue onset_cue(int slot);

struct VowelOnset {
    long sample = -1;       // first sample of the steady vowel; -1 = not found
    long steady_begin = 0;  // the stretch of steady vowel behind the onset that
    long steady_end = 0;    //   served as reference, samples [begin, end)
};

// Finds the vowel onset in `x` (a recording at the bank rate, trimmed of
// leading silence, ending in its vowel).  The steady vowel is taken from 60 %
// to 90 % of the way to the end of the vowel; the search walks back from it
// while the frames keep to the vowel by the given cue.
VowelOnset find_vowel_onset(const std::vector<float>& x, OnsetCue cue);

}  // namespace voicebank
}  // namespace vokari
