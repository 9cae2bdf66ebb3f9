// Per-slot pipeline: trim the silence, find the vowel (onset behind a
// consonant, or a loop in a held vowel), measure its pitch and loudness, cut
// the sample to what the renderer plays and soften its ends.
#include "slot_analysis.h"

#include <algorithm>
#include <cmath>

#include "audio_input.h"
#include "loop_points.h"
#include "pitch_period.h"
#include "sample_shaping.h"
#include "syllables.h"
#include "vowel_onset.h"

namespace vokari {
namespace voicebank {
namespace {

constexpr long kOnsetFade = 44;         // 2 ms fade-in: no click at the start
constexpr long kTailFade = 220;         // 10 ms: the data beyond the fade, faded out
constexpr long kMinCrossfade = 441;     // 20 ms of vowel inside the consonant's fade
constexpr long kMaxCrossfade = 1764;    // 80 ms
constexpr long kMinLoop = 1103;         // a loop of at least 50 ms
constexpr double kLoopPlacement = 0.6;  // loop ends 60 % into the loud part of a vowel
constexpr double kLoudFloorDb = 10.0;   // the loud part: within 10 dB of the loudest

double rms_of(const std::vector<float>& x, long begin, long end) {
    double sum = 0.0;
    for (long i = begin; i < end; ++i) sum += static_cast<double>(x[i]) * x[i];
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

void measure(SlotSample& sample, const std::vector<float>& x, long begin, long end) {
    sample.measure_begin = begin;
    sample.measure_end = end;
    sample.rms = rms_of(x, begin, end);
    sample.period = median_period(x, begin, end);
    if (sample.period <= 0.0) sample.problems.push_back("no pitch period found in the vowel");
}

// Cuts a consonant sample whose vowel starts at `vowel_delay`: keeps the
// consonant and the vowel to the end of the fade, measured over
// [steady_begin, steady_end).
SlotSample shape_consonant(SlotSample sample, std::vector<float> x, long steady_begin, long steady_end) {
    measure(sample, x, std::max(sample.vowel_delay, steady_begin), steady_end);

    // The renderer fades the consonant sample out from its first sample on;
    // letting the fade run as long again as the consonant (within limits)
    // keeps the consonant audible while the vowel sample fades in.
    const long crossfade = std::clamp(sample.vowel_delay, kMinCrossfade, kMaxCrossfade);
    sample.fade_length = sample.vowel_delay + crossfade;
    const long keep = std::min(static_cast<long>(x.size()), sample.fade_length + kTailFade + 1);
    if (keep < sample.fade_length + 1) {
        sample.problems.push_back("recording ends before the fade; fade shortened");
        sample.fade_length = keep - 1;
    }
    x.resize(static_cast<size_t>(keep));
    fade_in(x, kOnsetFade);
    fade_out(x, kTailFade);
    sample.samples = std::move(x);
    return sample;
}

SlotSample analyse_consonant(int slot, std::vector<float> x) {
    SlotSample sample;
    sample.slot = slot;
    const VowelOnset onset = find_vowel_onset(x, onset_cue(slot));
    if (onset.sample < 0) {
        sample.problems.push_back("vowel onset not found; the vowel starts with the sample");
        sample.vowel_delay = 0;
    } else {
        sample.vowel_delay = onset.sample;
    }
    return shape_consonant(std::move(sample), std::move(x), onset.steady_begin, onset.steady_end);
}

// The loud part of a held vowel, [begin, end) in samples.
Span loud_part(const std::vector<float>& x) {
    constexpr long kBlock = 220;
    std::vector<double> power;
    for (long at = 0; at + kBlock <= static_cast<long>(x.size()); at += kBlock) {
        const double r = rms_of(x, at, at + kBlock);
        power.push_back(r * r);
    }
    Span span;
    if (power.empty()) return span;
    const double floor = *std::max_element(power.begin(), power.end()) * std::pow(10.0, -kLoudFloorDb / 10.0);
    long first = 0;
    while (power[first] < floor) ++first;
    long last = static_cast<long>(power.size()) - 1;
    while (power[last] < floor) --last;
    span.begin = first * kBlock;
    span.end = (last + 1) * kBlock;
    return span;
}

// Loops the vowel sample `x` within [region_begin, loop_end): the loop ends
// near loop_end; loudness and pitch are measured over the loop, or over
// [region_begin, region_end) when no loop is found.
SlotSample loop_vowel(int slot, std::vector<float> x, long region_begin, long loop_end, long region_end) {
    SlotSample sample;
    sample.slot = slot;
    const double period = median_period(x, region_begin, region_end);
    const LoopPoints loop = find_loop(x, region_begin, loop_end, period, kMinLoop);
    if (loop.start < 0) {
        sample.problems.push_back(period > 0.0 ? "vowel too short for a loop; the whole sample loops"
                                               : "no pitch period found; the whole sample loops");
        fade_in(x, kOnsetFade);
        measure(sample, x, region_begin, region_end);
        sample.samples = std::move(x);
        return sample;
    }
    close_loop(x, loop, static_cast<long>(std::lround(period)));
    fade_in(x, kOnsetFade);
    sample.loop_start = loop.start;
    measure(sample, x, loop.start, loop.end);
    sample.samples = std::move(x);
    return sample;
}

SlotSample analyse_vowel(int slot, std::vector<float> x) {
    const Span loud = loud_part(x);
    const long loop_end = loud.begin + static_cast<long>(kLoopPlacement * (loud.end - loud.begin));
    return loop_vowel(slot, std::move(x), loud.begin, loop_end, loud.end);
}

}  // namespace

SlotSample analyse_slot(int slot, const std::vector<float>& recording) {
    const Span sound = sound_span(recording);
    std::vector<float> x(recording.begin() + sound.begin, recording.begin() + sound.end);
    if (x.size() < static_cast<size_t>(kMinLoop)) {
        SlotSample sample;
        sample.slot = slot;
        sample.problems.push_back("recording holds less than 50 ms of sound");
        return sample;
    }
    return is_vowel_syllable(slot) ? analyse_vowel(slot, std::move(x)) : analyse_consonant(slot, std::move(x));
}

}  // namespace voicebank
}  // namespace vokari

namespace vokari {
namespace voicebank {

SlotSample analyse_marked_slot(int slot, const std::vector<float>& cut, long fixed_end, long vowel_start) {
    const long n = static_cast<long>(cut.size());
    fixed_end = std::clamp(fixed_end, 0L, n);
    vowel_start = std::clamp(vowel_start, 0L, n);
    if (is_vowel_syllable(slot)) {
        // The loop lies in the loud part of the stretchable part, as in a
        // held vowel: a cutoff placed late can take in the vowel's decay.
        const std::vector<float> stretchable(cut.begin() + fixed_end, cut.end());
        const Span loud = loud_part(stretchable);
        const long begin = fixed_end + loud.begin;
        const long end = fixed_end + loud.end;
        const long loop_end = begin + static_cast<long>(kLoopPlacement * (end - begin));
        return loop_vowel(slot, cut, begin, loop_end, end);
    }
    SlotSample sample;
    sample.slot = slot;
    sample.vowel_delay = vowel_start;
    // The steady vowel: past the fixed part, to near the end of the cut.
    const long steady_begin = std::max(vowel_start, fixed_end);
    const long steady_end = steady_begin + static_cast<long>(0.9 * (n - steady_begin));
    return shape_consonant(std::move(sample), cut, steady_begin, steady_end);
}

}  // namespace voicebank
}  // namespace vokari
