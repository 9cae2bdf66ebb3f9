// The Timeline: per speaker the phoneme events (which sample starts when) and
// the control events (pitch, level, sound effects) of one scanned script.
// Event times are output samples at 22050 Hz including the 1000-sample lead-in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "voice_data/phoneme_bank.h"

namespace vokari {

struct PhonemeEvent {
    std::int32_t time;      // samples
    std::int32_t slot;      // 0..106, -1 = silence
    std::uint8_t is_vowel;  // 1 for the vowel part of a kana
    std::int32_t fade_in;   // samples
};

enum ControlKind : std::int32_t {
    PitchMultiply = 0,
    PitchDivide = 1,
    PitchSet = 2,
    LevelAdd = 3,
    LevelSubtract = 4,
    LevelSet = 5,
    PlaySoundEffect = 6,
    // The reading step's pitch accent: a factor of its own on top of the
    // speaker's pitch, taken up by the voices started after it.
    AccentSet = 7,
    // The prosody model's melody: a factor of its own on top of the pitch and
    // the accent that every sounding sample of the speaker follows at once,
    // so that events close together make a glide.
    MelodySet = 8,
};

struct ControlEvent {
    std::int32_t time;  // samples, never negative
    std::int32_t kind;  // ControlKind
    double value;
};

struct Timeline {
    std::vector<PhonemeEvent> phoneme_events[2];
    std::vector<ControlEvent> control_events[2];
    // Empties the four lists (their storage is kept for the next scan).
    void clear();
};

constexpr std::int32_t kLeadInSamples = 1000;

// trunc(ms * 22050 / 1000) + 1000, without overflow; saturates to the int32
// range for times far beyond any output.
std::int32_t ms_to_samples(std::int64_t ms);

// Appends a silence event at `ms` (time stored as converted, even when
// negative) to `speaker`'s phoneme list.  A silence starts the release of the
// speaker's sounding vowels.
void emit_silence(Timeline& timeline, std::int64_t ms, int speaker);

// Appends one part of a kana to `speaker`'s phoneme list.  `carry_fade` and
// `carry_delay` (samples) tie an onset to the vowel after it: the onset
// (is_vowel false) stores its slot's loop_chunk_offset and vowel_delay in them;
// the vowel starts carry_delay samples later and fades in over carry_fade.
// The onset's values come from `bank`.
// While wa_countdown is 2, slot 25 (ha) is spoken as slot 43 (wa).
void emit_phoneme(Timeline& timeline, const PhonemeBank& bank, std::int64_t ms, int speaker, int slot,
                  std::int32_t wa_countdown, bool is_vowel, std::int32_t& carry_fade, std::int32_t& carry_delay);

// Appends a control event at `ms` (a negative sample time stored as 0).
void emit_control(Timeline& timeline, std::int64_t ms, int speaker, ControlKind kind, double value);

}  // namespace vokari
