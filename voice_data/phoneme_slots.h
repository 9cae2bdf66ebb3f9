// The phoneme slots of a voice: 107 consonant-vowel sounds per speaker, two
// speakers.  Slot numbers are the names of the sample files.
#pragma once

namespace vokari {

constexpr int kSlotCount = 107;
constexpr int kSpeakerCount = 2;
constexpr int kSyllabicNSlot = 45;

// Slots 0-4 and 45 hold vowels; every other slot a consonant-vowel sample.
constexpr bool is_vowel_slot(int slot) { return (slot >= 0 && slot <= 4) || slot == kSyllabicNSlot; }

}  // namespace vokari
