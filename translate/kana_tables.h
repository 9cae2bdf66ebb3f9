// The kana tables: one Shift_JIS string per phoneme slot 0..106 in hiragana,
// katakana and half-width katakana, the vowel that ends each slot, and the
// long-vowel marks.  Slots 0..70 are single kana, 71..106 the contracted
// sounds; the slot numbers are those of the phoneme bank's sample files.
#pragma once

#include <cstdint>

#include "base/string_table.h"
#include "vokari_voice_format.h"

namespace vokari {

constexpr int kHaSlot = 25;  // ha, read as wa after the voice-control tag "w"
constexpr int kWaSlot = 43;

extern const StringTable hiragana_table;
extern const StringTable katakana_table;
extern const StringTable halfwidth_table;
extern const StringTable fullwidth_long_vowel_marks;  // four 2-byte marks
extern const StringTable halfwidth_long_vowel_marks;  // the single byte 0xB0

// vowel_of[s]: the vowel slot (0..4, or 45 for the syllabic n) that ends slot s.
extern const std::int8_t vowel_of[kSlotCount];

}  // namespace vokari
