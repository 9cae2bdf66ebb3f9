// The renderer: fires each speaker's control and phoneme events in list order,
// keeps the sounding voices and sound effects, and mixes them into mu-law
// bytes.  Between two events nothing but the voices' own envelopes changes, so
// the output is produced in blocks, voice by voice: each voice's contribution
// to a sample depends only on that voice, and the sum is plain integer
// addition, so the bytes are those of a sample-by-sample mix.
#include "synth/renderer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "synth/sounding_sample.h"
#include "base/mulaw.h"
#include "synth/wav_image.h"
#include "translate/timeline.h"

namespace vokari {
namespace {

constexpr std::int32_t kBlockSamples = 2048;
constexpr std::uint8_t kSilentByte = 0xFF;
constexpr std::int64_t kFullScale = 8159;  // every larger magnitude encodes alike

struct SpeakerState {
    const std::vector<PhonemeEvent>* phonemes;
    const std::vector<ControlEvent>* controls;
    std::size_t phoneme_cursor = 0;
    std::size_t control_cursor = 0;
    double pitch = 1.0;
    double level = 1.0;
    double previous_pitch = 1.0;
    double accent = 1.0;  // the pitch accent's factor (AccentSet)
    double melody = 1.0;  // the prosody model's melody (MelodySet)
    SpeakerTuning tuning;
    const PhonemeSlot* row;
    std::vector<SoundingSample> sounding;  // sounding (and dormant holding) samples
};

// One playing sound effect, resolved to its bytes when it starts.
struct EffectPlayback {
    const std::uint8_t* data;
    std::int32_t position;
    std::int32_t end;
};

class Render {
public:
    Render(const LoadedVoice& voice, const Timeline& timeline) : sound_effects_(voice.sound_effects) {
        const Settings& settings = voice.settings;
        const PhonemeBank& phoneme_bank = voice.bank;
        for (int s = 0; s < kSpeakerCount; ++s) {
            SpeakerState& speaker = speakers_[s];
            speaker.phonemes = &timeline.phoneme_events[s];
            speaker.controls = &timeline.control_events[s];
            speaker.tuning = {settings.speaker_frequency[s], phoneme_bank.consonant_frequency[s],
                              phoneme_bank.consonant_level[s]};
            speaker.row = phoneme_bank.slots[s];
        }
    }

    void run(std::uint8_t* out, std::int32_t samples) {
        std::int32_t o = 0;
        while (o < samples) {
            fire_events(o);
            const std::int64_t next = next_event_time();
            const std::int32_t run_end = next < samples ? static_cast<std::int32_t>(next) : samples;
            while (o < run_end) {
                const std::int32_t length = std::min(kBlockSamples, run_end - o);
                mix_block(out + o, length);
                o += length;
            }
        }
    }

private:
    void fire_events(std::int32_t o) {
        for (SpeakerState& speaker : speakers_) {
            speaker.previous_pitch = sounding_pitch(speaker);
            const auto& controls = *speaker.controls;
            for (; speaker.control_cursor < controls.size() && controls[speaker.control_cursor].time <= o;
                 ++speaker.control_cursor) {
                apply_control_event(speaker, controls[speaker.control_cursor]);
            }
        }
        for (SpeakerState& speaker : speakers_) {
            const auto& phonemes = *speaker.phonemes;
            for (; speaker.phoneme_cursor < phonemes.size() && phonemes[speaker.phoneme_cursor].time <= o;
                 ++speaker.phoneme_cursor) {
                const PhonemeEvent& event = phonemes[speaker.phoneme_cursor];
                for (SoundingSample& sounding : speaker.sounding)
                    release_sample(sounding, speaker.tuning, speaker.previous_pitch);
                if (event.slot < 0 || event.slot >= kSlotCount) continue;
                SoundingSample started;
                if (start_sample(speaker.row[event.slot], speaker.tuning, sounding_pitch(speaker), speaker.level,
                                 event.is_vowel != 0, event.fade_in, started)) {
                    speaker.sounding.push_back(started);
                }
            }
        }
    }

    // The earliest time still waiting at a cursor (every list's events up to
    // the current sample have fired), or past the end when none is left.
    std::int64_t next_event_time() const {
        std::int64_t next = INT64_MAX;
        for (const SpeakerState& speaker : speakers_) {
            if (speaker.control_cursor < speaker.controls->size())
                next = std::min<std::int64_t>(next, (*speaker.controls)[speaker.control_cursor].time);
            if (speaker.phoneme_cursor < speaker.phonemes->size())
                next = std::min<std::int64_t>(next, (*speaker.phonemes)[speaker.phoneme_cursor].time);
        }
        return next;
    }

    void apply_control_event(SpeakerState& speaker, const ControlEvent& event) {
        const double value = event.value;
        switch (event.kind) {
        case PitchMultiply: speaker.pitch = clamp_to(speaker.pitch * value, 0.25, 3.0); break;
        case PitchDivide: speaker.pitch = clamp_to(speaker.pitch / value, 0.25, 3.0); break;
        case PitchSet: speaker.pitch = clamp_to(value, 0.25, 3.0); break;
        case LevelAdd: speaker.level = clamp_to(speaker.level + value, 0.0, 3.0); break;
        case LevelSubtract: speaker.level = clamp_to(speaker.level - value, 0.0, 3.0); break;
        case LevelSet: speaker.level = clamp_to(value, 0.0, 3.0); break;
        case PlaySoundEffect: start_sound_effect(value); return;
        // An accent event stands at a kana's start: the vowel that the
        // kana releases fades at the new pitch too, or the two would beat
        // against each other while they overlap.
        case AccentSet:
            speaker.accent = clamp_to(value, 0.5, 2.0);
            speaker.previous_pitch = sounding_pitch(speaker);
            break;
        case MelodySet:
            speaker.melody = clamp_to(value, 0.5, 2.0);
            for (SoundingSample& sounding : speaker.sounding)
                glide_sample(sounding, speaker.tuning, sounding_pitch(speaker));
            return;
        default: break;
        }
        for (SoundingSample& sounding : speaker.sounding)
            refresh_sample(sounding, speaker.tuning, sounding_pitch(speaker), speaker.level);
    }

    // The author's pitch times the accent and the melody; with neither (1.0)
    // exactly the author's pitch, which is already within the limits.
    static double sounding_pitch(const SpeakerState& speaker) {
        return clamp_to(speaker.pitch * speaker.accent * speaker.melody, 0.25, 3.0);
    }

    // Starts effect number trunc(value); a number outside the list starts
    // nothing.
    void start_sound_effect(double value) {
        if (!(value > -1.0 && value < static_cast<double>(sound_effects_.size()))) return;
        const SoundEffect& effect = sound_effects_[static_cast<std::size_t>(value)];
        const std::int64_t readable = std::min<std::int64_t>(effect.size, effect.data.size());
        if (readable <= 0) return;
        effects_.push_back({effect.data.data(), 0, static_cast<std::int32_t>(readable)});
    }

    void mix_block(std::uint8_t* out, std::int32_t length) {
        std::fill(sums_, sums_ + length, 0);
        for (SpeakerState& speaker : speakers_) {
            for (SoundingSample& sounding : speaker.sounding) mix_sample(sounding, sums_, length);
            speaker.sounding.erase(std::remove_if(speaker.sounding.begin(), speaker.sounding.end(), sample_finished),
                                   speaker.sounding.end());
        }
        for (EffectPlayback& effect : effects_) {
            const std::int32_t count = std::min(length, effect.end - effect.position);
            const std::uint8_t* bytes = effect.data + effect.position;
            for (std::int32_t t = 0; t < count; ++t) sums_[t] += mulaw_decode_table[bytes[t]];
            effect.position += count;
        }
        effects_.erase(std::remove_if(effects_.begin(), effects_.end(),
                                      [](const EffectPlayback& e) { return e.position >= e.end; }),
                       effects_.end());
        for (std::int32_t t = 0; t < length; ++t) {
            const std::int64_t sum = std::max(-kFullScale, std::min(kFullScale, sums_[t]));
            out[t] = encode_sample(static_cast<std::int32_t>(sum));
        }
    }

    const std::vector<SoundEffect>& sound_effects_;
    SpeakerState speakers_[kSpeakerCount];
    std::vector<EffectPlayback> effects_;
    std::int64_t sums_[kBlockSamples];
};

}  // namespace

void render_timeline(const LoadedVoice& voice, const Timeline& timeline, std::uint8_t* out, std::int32_t samples) {
    if (samples <= 0) return;
    if (timeline.phoneme_events[0].empty() && timeline.phoneme_events[1].empty()) {
        // Nothing to speak: the image holds silence rather than whatever the
        // allocation left in it.
        std::memset(out, kSilentByte, static_cast<std::size_t>(samples));
        return;
    }
    auto render = std::make_unique<Render>(voice, timeline);
    render->run(out, samples);
}

}  // namespace vokari
