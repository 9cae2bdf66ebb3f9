// The life of one voice: started by a phoneme event, released by the next one,
// refreshed by control events while holding, and mixed sample by sample.
#include "synth/voice.h"

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
double read_guarded(const std::uint8_t* data, std::int32_t size, double position) {
    if (!(position > -2147483648.0 && position < 2147483647.0)) return 0.0;
    const std::int32_t i = static_cast<std::int32_t>(position);
    const double f = position - std::floor(position);
    const double next = (i + 1 >= 0 && i + 1 < size) ? kLevels.value[data[i + 1]] : 0.0;
    const double here = (i >= 0 && i < size) ? kLevels.value[data[i]] : 0.0;
    return next * f + here * (1.0 - f);
}

// Reads a voice's source: advances the position by one output sample, wraps
// a vowel at the end of its data, and interpolates between the two
// neighbouring samples.
class SourceReader {
public:
    explicit SourceReader(const Voice& voice)
        : data_(voice.data),
          size_(voice.size),
          last_pair_(voice.size - 1.0),
          rate_(voice.rate),
          loops_(voice.is_vowel != 0),
          loop_start_(voice.loop_chunk_offset) {}

    // False when an onset voice has reached the end of its data.
    bool next(double& position, double& value) const {
        position += rate_;
        const double past_end = position - size_ + 1.0;
        if (past_end > -1.0) {   // its integer part is 0 or more
            if (!loops_) return false;
            position = loop_start_ + std::trunc(past_end);
        }
        if (position >= 0.0 && position < last_pair_) {   // both neighbours inside
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
    const SourceReader reader(voice);
    double position = voice.position;
    double gain = voice.gain;
    double step = voice.gain_step;
    double target = voice.target_gain;
    std::int32_t countdown = voice.release_countdown;

    std::int32_t t = 0;
    for (; t < count; ++t) {
        if (step == 0.0 && countdown == kNotReleased) break;   // holding: see below
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
    // A holding voice keeps its gain until the next event, which ends the
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

    voice.position = position;
    voice.gain = gain;
    voice.gain_step = step;
    voice.target_gain = target;
    voice.release_countdown = countdown;
}

}  // namespace vokari
