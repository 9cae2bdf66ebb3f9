// The phoneme bank: per speaker 107 recorded consonant-vowel samples (8-bit
// mu-law, 22050 Hz) with their tuning values; the details files that tune them;
// and the host's message speed.
#pragma once

#include <cstdint>
#include <vector>

namespace vokari {

constexpr int kSlotCount = 107;
constexpr int kSpeakerCount = 2;
constexpr int kSyllabicNSlot = 45;

// Slots 0-4 and 45 hold vowels; every other slot a consonant-vowel sample.
inline bool is_vowel_slot(int slot) { return (slot >= 0 && slot <= 4) || slot == kSyllabicNSlot; }

struct PhonemeSlot {
    std::vector<std::uint8_t> data;   // mu-law bytes; empty = silent
    std::int32_t size = 0;            // bytes in data
    std::int32_t vowel_delay = 0;     // samples from consonant start to vowel
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

extern PhonemeBank phoneme_bank;

// Empties all slots and resets their tuning values (part of load_defaults).
void reset_phoneme_bank();
// Loads the four sample directories; bit 0: "vokariv1" gave no file, bit 1:
// "vokaric1" gave no file.
int load_phoneme_bank();
bool load_phoneme_directory(const char* directory, int speaker, bool vowel_directory);
enum class SlotGroup { Vowel, Consonant };
void fill_partner_from_main(SlotGroup group);
void copy_slot_to_partner(int slot);
// Length of the file in bytes, or -1 when it cannot be opened.
long file_length(const char* path);
void release_phoneme_bank();

// Reads "<directory>\\details.txt" for `speaker`.  False when missing.
bool load_phoneme_details(const char* directory, int speaker);

// Finds the host's message speed from its profile files, logs it and stores
// it (scaled by 4/3) in settings.message_speed.
void discover_message_speed();

}  // namespace vokari
