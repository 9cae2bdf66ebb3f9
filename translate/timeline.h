// The Timeline: per speaker the phoneme events (which sample starts when) and
// the control events (pitch, level, sound effects) of one scanned script.
// Event times are output samples at 22050 Hz including the 1000-sample lead-in.
#pragma once

#include <cstdint>
#include <vector>

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
};

struct ControlEvent {
    std::int32_t time;      // samples, never negative
    std::int32_t kind;      // ControlKind
    double value;
};

struct Timeline {
    std::vector<PhonemeEvent> phoneme_events[2];
    std::vector<ControlEvent> control_events[2];
    void clear();
};

extern Timeline timeline;

// trunc(ms * 22050 / 1000) + 1000, without overflow; saturates to the int32
// range for times far beyond any output.
std::int32_t ms_to_samples(std::int64_t ms);

}  // namespace vokari
