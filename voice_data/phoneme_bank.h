// The phoneme bank: per speaker 107 recorded consonant-vowel samples (8-bit
// mu-law, 22050 Hz) with their tuning values.
#pragma once

#include <cstdint>
#include <vector>

#include "vokari_voice_format.h"

namespace vokari {

struct PhonemeSlot {
    std::vector<std::uint8_t> data;  // mu-law bytes; empty = silent
    std::int32_t size = 0;           // bytes in data
    std::int32_t vowel_delay = 0;    // samples from consonant start to vowel
    std::int32_t loop_chunk_offset = 0;
    double correct_frequency = 1.0;
    double correct_level = 1.0;
};

struct PhonemeBank {
    PhonemeSlot slots[kSpeakerCount][kSlotCount];
    double consonant_frequency[kSpeakerCount] = {1.0, 1.0};
    double consonant_level[kSpeakerCount] = {1.0, 1.0};
    std::uint8_t last_sample_was_hv1 = 0;
};

struct LoadedVoice;

// Empties all slots and resets their tuning values (part of load_defaults).
void reset_phoneme_bank(PhonemeBank& bank);
// Which of the partner's sample directories gave no sample at all: the caller
// decides whether the partner borrows the main character's samples.
struct PartnerGaps {
    bool vowels = false;      // "vokariv1"
    bool consonants = false;  // "vokaric1"
};
// Loads the four sample directories and logs them; returns the partner's gaps.
PartnerGaps load_phoneme_bank(LoadedVoice& voice);
// Loads slots 0-106 of `speaker` from "<module_dir>\\<directory>\\N.hv1" (or
// N.wav, header skipped) and logs one "o" or "-" per slot.  True when at least
// one slot was loaded.  A consonant directory sets loop_chunk_offset to
// size - 1.
bool load_phoneme_directory(LoadedVoice& voice, const char* directory, int speaker, bool vowel_directory);
enum class SlotGroup { Vowel, Consonant };
// Copies every slot of `group` from speaker 0 to speaker 1.
void fill_partner_from_main(PhonemeBank& bank, SlotGroup group);
// Copies slot `slot` (sample and tuning values) from speaker 0 to speaker 1.
void copy_slot_to_partner(PhonemeBank& bank, int slot);
// Frees the samples of all 214 slots; each slot becomes silent (size 0).
void release_phoneme_bank(PhonemeBank& bank);
// Formats "<module_dir>\\<directory>\\<slot><extension>" into `out`
// (kPathCapacity bytes).  False, with `out` empty, when it does not fit.
bool format_slot_path(const char* module_dir, char* out, const char* directory, int slot, const char* extension);

}  // namespace vokari
