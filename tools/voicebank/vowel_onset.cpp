// Vowel onset by a backward walk from the steady vowel: the vowel is what the
// recording ends in, so the walk starts there and stops where the cue says
// the consonant begins.
#include "vowel_onset.h"

#include <algorithm>
#include <string>

#include "pitch_period.h"
#include "band_energy_frames.h"
#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

constexpr double kEndFloorDb = 20.0;        // frames this far below the loudest end the vowel
constexpr double kVoicedLimit = 0.12;       // YIN aperiodicity of a voiced frame
constexpr int kVoicingGapFrames = 4;        // unvoiced frames tolerated inside the vowel (10 ms)
constexpr double kShapeLimitDb = 6.0;       // SpectralShape: distance to the vowel's shape
constexpr double kLevelDropDb = 3.0;        // LevelAndShape: loudness below the vowel
constexpr double kLevelShapeLimitDb = 4.0;  // LevelAndShape: distance to the vowel's shape

struct SteadyVowel {
    long first = 0;  // frame range of the reference stretch, inclusive
    long last = 0;
    SpectralFrame mean;
};

SteadyVowel steady_vowel(const std::vector<SpectralFrame>& frames) {
    double loudest = -1e9;
    for (const SpectralFrame& f : frames) loudest = std::max(loudest, f.level_db);
    long end = static_cast<long>(frames.size()) - 1;
    while (end > 0 && frames[end].level_db < loudest - kEndFloorDb) --end;

    SteadyVowel steady;
    steady.first = end * 6 / 10;
    steady.last = std::max(steady.first, end * 9 / 10);
    const double count = static_cast<double>(steady.last - steady.first + 1);
    steady.mean.level_db = 0.0;
    for (long k = steady.first; k <= steady.last; ++k) {
        steady.mean.level_db += frames[k].level_db / count;
        for (int b = 0; b < kShapeBands; ++b) steady.mean.shape[b] += frames[k].shape[b] / count;
    }
    return steady;
}

// First frame of the voiced run that reaches the steady vowel; a frame's
// voicing is judged on the samples from its start, so the run begins where
// periodic sound begins.  Short breaks (a glitch of the pitch, a frame that
// straddles a jump of the period) do not end the run.
long voicing_onset_frame(const std::vector<float>& x, long from_frame, double period) {
    long onset = from_frame;
    int gap = 0;
    for (long k = from_frame - 1; k >= 0 && gap <= kVoicingGapFrames; --k) {
        if (aperiodicity_near(x, k * kFrameHop, period) < kVoicedLimit) {
            onset = k;
            gap = 0;
        } else {
            ++gap;
        }
    }
    return onset;
}

// First frame of the run before the steady vowel whose frames all stay within
// `shape_limit` of its shape and no more than `level_drop` below its level.
long vowel_like_onset_frame(const std::vector<SpectralFrame>& frames, const SteadyVowel& steady, double level_drop,
                            double shape_limit) {
    long k = steady.first;
    while (k > 0 && frames[k - 1].level_db >= steady.mean.level_db - level_drop &&
           shape_distance(frames[k - 1], steady.mean) <= shape_limit) {
        --k;
    }
    return k;
}

}  // namespace

OnsetCue onset_cue(int slot) {
    const std::string name = kSyllables[slot].romaji;
    const bool glide = name.size() == 3 && name[1] == 'y';  // kya, nya, rya, bya ...
    if (glide && name[0] != 'h' && name[0] != 'd') return OnsetCue::LevelAndShape;
    if (std::string("nmyr").find(name[0]) != std::string::npos) return OnsetCue::LevelAndShape;
    // Voiced through the consonant, and not much quieter than the vowel: b,
    // z (also du, said as zu) and w.
    if (name[0] == 'b' || name[0] == 'z' || name[0] == 'w' || name == "du") return OnsetCue::SpectralShape;
    return OnsetCue::Voicing;
}

VowelOnset find_vowel_onset(const std::vector<float>& x, OnsetCue cue) {
    VowelOnset onset;
    const std::vector<SpectralFrame> frames = band_energy_frames(x);
    if (frames.size() < 8) return onset;
    const SteadyVowel steady = steady_vowel(frames);

    long frame = steady.first;
    switch (cue) {
    case OnsetCue::Voicing: {
        const double period = median_period(x, steady.first * kFrameHop, steady.last * kFrameHop);
        frame = period > 0.0 ? voicing_onset_frame(x, steady.first, period)
                             : vowel_like_onset_frame(frames, steady, kLevelDropDb, kLevelShapeLimitDb);
        break;
    }
    case OnsetCue::SpectralShape: frame = vowel_like_onset_frame(frames, steady, 1e9, kShapeLimitDb); break;
    case OnsetCue::LevelAndShape:
        frame = vowel_like_onset_frame(frames, steady, kLevelDropDb, kLevelShapeLimitDb);
        break;
    }
    onset.sample = frame * kFrameHop;
    // A spectral frame passes as vowel only once its window lies (nearly)
    // wholly inside the vowel: the vowel began half a window before its centre.
    if (cue != OnsetCue::Voicing) onset.sample = std::max(0L, onset.sample - kFrameLength / 2);
    onset.steady_begin = steady.first * kFrameHop;
    onset.steady_end = steady.last * kFrameHop;
    return onset;
}

}  // namespace voicebank
}  // namespace vokari
