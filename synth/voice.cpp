// The life of one voice: started by a phoneme event, released by the next one,
// refreshed by control events while holding, and mixed sample by sample.
#include "synth/voice.h"

#include <cmath>

#include "synth/wav_image.h"

namespace vokari {
namespace {

constexpr double kMinRate = 0.25;
constexpr double kMaxRate = 3.0;
constexpr double kMaxGain = 3.0;
constexpr double kNoTarget = 100.0;
constexpr double kDefaultRampStep = 0.0006;
constexpr double kFadeOutStep = -0.0006;
constexpr std::int32_t kReleaseDelay = 400;
constexpr std::int32_t kNotReleased = -1;

// The decode table as doubles (the same values), so that the mixing loop
// interpolates without integer conversions.
struct DecodedLevels {
    double value[256];
    DecodedLevels() {
        for (int b = 0; b < 256; ++b) value[b] = mulaw_decode_table[b];
    }
};
const DecodedLevels kLevels;

double voice_rate(const PhonemeSlot& slot, const SpeakerTuning& tuning, double pitch, bool is_vowel) {
    double rate = slot.correct_frequency * pitch * tuning.speaker_frequency;
    if (!is_vowel) rate *= tuning.consonant_frequency;
    return rate;
}

double voice_level(const PhonemeSlot& slot, const SpeakerTuning& tuning, double level, bool is_vowel) {
    double gain = slot.correct_level * level;
    if (!is_vowel) gain *= tuning.consonant_level;
    return gain;
}

// The interpolated source value at `position`, for positions where one or
// both neighbours lie outside the data (or the position is not a number):
// such a neighbour reads as silence.
double read_guarded(const Voice& voice, double position) {
    if (!(position > -2147483648.0 && position < 2147483647.0)) return 0.0;
    const std::int32_t i = static_cast<std::int32_t>(position);
    const double f = position - std::floor(position);
    const double next = (i + 1 >= 0 && i + 1 < voice.size) ? kLevels.value[voice.data[i + 1]] : 0.0;
    const double here = (i >= 0 && i < voice.size) ? kLevels.value[voice.data[i]] : 0.0;
    return next * f + here * (1.0 - f);
}

}  // namespace

double clamp_to(double x, double lo, double hi) {
    if (!(x >= lo)) return lo;
    if (x > hi) return hi;
    return x;
}

bool start_voice(const PhonemeSlot& slot, const SpeakerTuning& tuning, double pitch,
                 double level, bool is_vowel, std::int32_t fade_in, Voice& voice) {
    const std::int32_t readable =
        slot.size < static_cast<std::int64_t>(slot.data.size()) ? slot.size
                                                                 : static_cast<std::int32_t>(slot.data.size());
    if (readable <= 0) return false;
    const double g = voice_level(slot, tuning, level, is_vowel);
    voice.rate = clamp_to(voice_rate(slot, tuning, pitch, is_vowel), kMinRate, kMaxRate);
    if (is_vowel) {
        if (fade_in < 0) return false;
        voice.gain = 0.0;
        voice.gain_step = fade_in == 0 ? kDefaultRampStep : g / fade_in;
        voice.target_gain = clamp_to(g, 0.0, kMaxGain);
    } else {
        // The onset falls linearly from g to 0 over loop_chunk_offset samples;
        // without a positive length, or with a negative g, it would not fall.
        if (slot.loop_chunk_offset <= 0 || g < 0.0) return false;
        voice.gain = clamp_to(g, 0.0, kMaxGain);
        voice.gain_step = -(g / slot.loop_chunk_offset);
        voice.target_gain = kNoTarget;
    }
    voice.source = &slot;
    voice.data = slot.data.data();
    voice.size = readable;
    voice.loop_chunk_offset = slot.loop_chunk_offset;
    voice.position = 0.0;
    voice.is_vowel = is_vowel ? 1 : 0;
    voice.release_countdown = kNotReleased;
    return true;
}

void release_voice(Voice& voice, const SpeakerTuning& tuning, double previous_pitch) {
    if (!(voice.position > 0.0) || voice.release_countdown != kNotReleased || voice.is_vowel != 1) return;
    voice.release_countdown = kReleaseDelay;
    voice.rate = voice_rate(*voice.source, tuning, previous_pitch, true);
}

void refresh_voice(Voice& voice, const SpeakerTuning& tuning, double pitch, double level) {
    if (voice.gain_step != 0.0) return;
    const bool is_vowel = voice.is_vowel != 0;
    voice.rate = clamp_to(voice_rate(*voice.source, tuning, pitch, is_vowel), kMinRate, kMaxRate);
    voice.gain = clamp_to(voice_level(*voice.source, tuning, level, is_vowel), 0.0, kMaxGain);
}

bool voice_finished(const Voice& voice) {
    // A falling gain never rises again: only a ramp (step above 0) or a
    // refresh (step exactly 0) can raise it.
    return !(voice.gain > 0.0) && !(voice.gain_step >= 0.0);
}

void mix_voice(Voice& voice, std::int64_t* sums, std::int32_t count) {
    const double* levels = kLevels.value;
    const std::uint8_t* data = voice.data;
    const double size = voice.size;
    const double last_pair = size - 1.0;   // positions below it have both neighbours
    const double rate = voice.rate;
    const bool loops = voice.is_vowel != 0;
    const double loop_start = voice.loop_chunk_offset;
    double position = voice.position;
    double gain = voice.gain;
    double step = voice.gain_step;
    double target = voice.target_gain;
    std::int32_t countdown = voice.release_countdown;

    for (std::int32_t t = 0; t < count; ++t) {
        if (countdown != kNotReleased) {
            --countdown;
            if (countdown == kNotReleased) step = kFadeOutStep;
        }
        gain += step;
        if (step > 0.0 && gain >= target) {
            gain = target;
            step = 0.0;
            target = kNoTarget;
        }
        if (!(gain > 0.0)) {
            // Silent for the rest of this block when it is falling (finished)
            // or holding without a pending release: nothing can change it.
            if (!(step >= 0.0) || (step == 0.0 && countdown == kNotReleased)) break;
            continue;
        }
        position += rate;
        const double past_end = position - size + 1.0;
        if (past_end > -1.0) {   // its integer part is 0 or more
            if (!loops) {
                gain = 0.0;
                continue;
            }
            position = loop_start + std::trunc(past_end);
        }
        double value;
        if (position >= 0.0 && position < last_pair) {
            const std::int32_t i = static_cast<std::int32_t>(position);
            const double f = position - i;
            value = levels[data[i + 1]] * f + levels[data[i]] * (1.0 - f);
        } else {
            value = read_guarded(voice, position);
        }
        sums[t] += static_cast<std::int32_t>(value * gain);
    }

    voice.position = position;
    voice.gain = gain;
    voice.gain_step = step;
    voice.target_gain = target;
    voice.release_countdown = countdown;
}

}  // namespace vokari
