// The life of one sounding sample: started by a phoneme event, released by the next one,
// refreshed by control events while holding, and mixed sample by sample.
#include "synth/sounding_sample.h"

#include <cmath>

#include "base/mulaw.h"
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
    double value[256] = {};
    constexpr DecodedLevels() {
        for (int b = 0; b < 256; ++b) value[b] = mulaw_decode_table[static_cast<std::size_t>(b)];
    }
};
constexpr DecodedLevels kLevels;

double playback_rate(const PhonemeSlot& slot, const SpeakerTuning& tuning, double pitch, bool is_vowel) {
    double rate = slot.correct_frequency * pitch * tuning.speaker_frequency;
    if (!is_vowel) rate *= tuning.consonant_frequency;
    return rate;
}

double sample_level(const PhonemeSlot& slot, const SpeakerTuning& tuning, double level, bool is_vowel) {
    double gain = slot.correct_level * level;
    if (!is_vowel) gain *= tuning.consonant_level;
    return gain;
}

// The interpolated source value at `position`, for positions where one or
// both neighbours lie outside the data (or the position is not a number):
// such a neighbour reads as silence.
double read_guarded(const std::uint8_t* data, std::int32_t size, double position) {
    if (!(position > -2147483648.0 && position < 2147483647.0)) return 0.0;
    const std::int32_t i = static_cast<std::int32_t>(position);
    const double f = position - std::floor(position);
    const double next = (i + 1 >= 0 && i + 1 < size) ? kLevels.value[data[i + 1]] : 0.0;
    const double here = (i >= 0 && i < size) ? kLevels.value[data[i]] : 0.0;
    return next * f + here * (1.0 - f);
}

// Reads a sounding sample's source: advances the position by one output sample, wraps
// a vowel at the end of its data, and interpolates between the two
// neighbouring samples.
class SourceReader {
public:
    explicit SourceReader(const SoundingSample& sounding)
        : data_(sounding.data),
          size_(sounding.size),
          last_pair_(sounding.size - 1.0),
          rate_(sounding.rate),
          loops_(sounding.is_vowel != 0),
          loop_start_(sounding.loop_chunk_offset) {}

    // False when an onset sample has reached the end of its data.
    bool next(double& position, double& value) const {
        position += rate_;
        const double past_end = position - size_ + 1.0;
        if (past_end > -1.0) {  // its integer part is 0 or more
            if (!loops_) return false;
            position = loop_start_ + std::trunc(past_end);
        }
        if (position >= 0.0 && position < last_pair_) {  // both neighbours inside
            const std::int32_t i = static_cast<std::int32_t>(position);
            const double f = position - i;
            value = kLevels.value[data_[i + 1]] * f + kLevels.value[data_[i]] * (1.0 - f);
        } else {
            value = read_guarded(data_, size_, position);
        }
        return true;
    }

private:
    const std::uint8_t* const data_;
    const std::int32_t size_;
    const double last_pair_;
    const double rate_;
    const bool loops_;
    const double loop_start_;
};

}  // namespace

double clamp_to(double x, double lo, double hi) {
    if (!(x >= lo)) return lo;
    if (x > hi) return hi;
    return x;
}

bool start_sample(const PhonemeSlot& slot, const SpeakerTuning& tuning, double pitch, double level, bool is_vowel,
                  std::int32_t fade_in, SoundingSample& sounding) {
    const std::int32_t readable = slot.size < static_cast<std::int64_t>(slot.data.size())
                                      ? slot.size
                                      : static_cast<std::int32_t>(slot.data.size());
    if (readable <= 0) return false;
    const double g = sample_level(slot, tuning, level, is_vowel);
    sounding.rate = clamp_to(playback_rate(slot, tuning, pitch, is_vowel), kMinRate, kMaxRate);
    if (is_vowel) {
        if (fade_in < 0) return false;
        sounding.gain = 0.0;
        sounding.gain_step = fade_in == 0 ? kDefaultRampStep : g / fade_in;
        sounding.target_gain = clamp_to(g, 0.0, kMaxGain);
    } else {
        // The onset falls linearly from g to 0 over loop_chunk_offset samples;
        // without a positive length, or with a negative g, it would not fall.
        if (slot.loop_chunk_offset <= 0 || g < 0.0) return false;
        sounding.gain = clamp_to(g, 0.0, kMaxGain);
        sounding.gain_step = -(g / slot.loop_chunk_offset);
        sounding.target_gain = kNoTarget;
    }
    sounding.source = &slot;
    sounding.data = slot.data.data();
    sounding.size = readable;
    sounding.loop_chunk_offset = slot.loop_chunk_offset;
    sounding.position = 0.0;
    sounding.is_vowel = is_vowel ? 1 : 0;
    sounding.release_countdown = kNotReleased;
    return true;
}

void release_sample(SoundingSample& sounding, const SpeakerTuning& tuning, double previous_pitch) {
    if (!(sounding.position > 0.0) || sounding.release_countdown != kNotReleased || sounding.is_vowel != 1) return;
    sounding.release_countdown = kReleaseDelay;
    sounding.rate = playback_rate(*sounding.source, tuning, previous_pitch, true);
}

void refresh_sample(SoundingSample& sounding, const SpeakerTuning& tuning, double pitch, double level) {
    if (sounding.gain_step != 0.0) return;
    const bool is_vowel = sounding.is_vowel != 0;
    sounding.rate = clamp_to(playback_rate(*sounding.source, tuning, pitch, is_vowel), kMinRate, kMaxRate);
    sounding.gain = clamp_to(sample_level(*sounding.source, tuning, level, is_vowel), 0.0, kMaxGain);
}

void glide_sample(SoundingSample& sounding, const SpeakerTuning& tuning, double pitch) {
    sounding.rate =
        clamp_to(playback_rate(*sounding.source, tuning, pitch, sounding.is_vowel != 0), kMinRate, kMaxRate);
}

bool sample_finished(const SoundingSample& sounding) {
    // A falling gain never rises again: only a ramp (step above 0) or a
    // refresh (step exactly 0) can raise it.
    return !(sounding.gain > 0.0) && !(sounding.gain_step >= 0.0);
}

void mix_sample(SoundingSample& sounding, std::int64_t* sums, std::int32_t count) {
    const SourceReader reader(sounding);
    double position = sounding.position;
    double gain = sounding.gain;
    double step = sounding.gain_step;
    double target = sounding.target_gain;
    std::int32_t countdown = sounding.release_countdown;

    std::int32_t t = 0;
    for (; t < count; ++t) {
        if (step == 0.0 && countdown == kNotReleased) break;  // holding: see below
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
            // Falling and silent: finished for good.
            if (!(step >= 0.0)) break;
            continue;
        }
        double value;
        if (!reader.next(position, value)) {
            gain = 0.0;
            continue;
        }
        sums[t] += static_cast<std::int32_t>(value * gain);
    }
    // A holding sample keeps its gain until the next event, which ends the
    // block: the envelope steps would add nothing.
    if (t < count && step == 0.0 && countdown == kNotReleased && gain > 0.0) {
        for (; t < count; ++t) {
            double value;
            if (!reader.next(position, value)) {
                gain = 0.0;
                break;
            }
            sums[t] += static_cast<std::int32_t>(value * gain);
        }
    }

    sounding.position = position;
    sounding.gain = gain;
    sounding.gain_step = step;
    sounding.target_gain = target;
    sounding.release_countdown = countdown;
}

}  // namespace vokari
