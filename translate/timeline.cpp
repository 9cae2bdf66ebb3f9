// The Timeline, its event emitters and the conversion of scan times to samples.
#include "translate/timeline.h"

#include "translate/kana_tables.h"
#include "translate/time_math.h"
#include "voice_data/phoneme_bank.h"

namespace vokari {

void Timeline::clear() {
    for (int speaker = 0; speaker < 2; ++speaker) {
        phoneme_events[speaker].clear();
        control_events[speaker].clear();
    }
}

namespace {

// trunc(ms * 22050 / 1000) + 1000 in 64 bits.  Times beyond +-10^11 ms give
// far more samples than an int32 holds, so they are cut there first.
std::int64_t samples_at(std::int64_t ms) {
    constexpr std::int64_t kMaxMs = 100000000000;
    if (ms > kMaxMs) ms = kMaxMs;
    if (ms < -kMaxMs) ms = -kMaxMs;
    return ms * 22050 / 1000 + kLeadInSamples;
}

std::int32_t non_negative_samples(std::int64_t samples) { return samples < 0 ? 0 : saturate_to_int32(samples); }

}  // namespace

std::int32_t ms_to_samples(std::int64_t ms) { return saturate_to_int32(samples_at(ms)); }

void emit_silence(Timeline& timeline, std::int64_t ms, int speaker) {
    timeline.phoneme_events[speaker].push_back(PhonemeEvent{ms_to_samples(ms), -1, 0, 1});
}

void emit_phoneme(Timeline& timeline, const PhonemeBank& bank, std::int64_t ms, int speaker, int slot,
                  std::int32_t wa_countdown, bool is_vowel, std::int32_t& carry_fade, std::int32_t& carry_delay) {
    if (wa_countdown == 2 && slot == kHaSlot) slot = kWaSlot;
    std::int64_t time = samples_at(ms);
    if (is_vowel) time += carry_delay;
    timeline.phoneme_events[speaker].push_back(
        PhonemeEvent{non_negative_samples(time), slot, static_cast<std::uint8_t>(is_vowel ? 1 : 0), carry_fade});
    if (!is_vowel) {
        const PhonemeSlot& onset = bank.slots[speaker][slot];
        carry_fade = onset.loop_chunk_offset;
        carry_delay = onset.vowel_delay;
    }
}

void emit_control(Timeline& timeline, std::int64_t ms, int speaker, ControlKind kind, double value) {
    timeline.control_events[speaker].push_back(ControlEvent{non_negative_samples(samples_at(ms)), kind, value});
}

}  // namespace vokari
