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
// Loads slots 0-106 of `speaker` from "<module_dir>\\<directory>\\N.hv1" (or
// N.wav, header skipped) and logs one "o" or "-" per slot.  True when at least
// one slot was loaded.  A consonant directory sets loop_chunk_offset to
// size - 1.
bool load_phoneme_directory(const char* directory, int speaker, bool vowel_directory);
enum class SlotGroup { Vowel, Consonant };
// Copies every slot of `group` from speaker 0 to speaker 1.
void fill_partner_from_main(SlotGroup group);
// Copies slot `slot` (sample and tuning values) from speaker 0 to speaker 1.
void copy_slot_to_partner(int slot);
// Length of the file in bytes, or -1 when it cannot be opened.
long file_length(const char* path);
// Reads the bytes after the first `header_bytes` of the file `path`
// (`length` bytes in all) into `data`.  False, with `data` empty, when the
// file is shorter than its header or cannot be read in full, or memory runs out.
bool read_sample_file(const char* path, long length, long header_bytes, std::vector<std::uint8_t>& data);
// Frees the samples of all 214 slots; each slot becomes silent (size 0).
void release_phoneme_bank();
// Formats "<module_dir>\\<directory>\\<slot><extension>" into `out`
// (kPathCapacity bytes).  False, with `out` empty, when it does not fit.
bool format_slot_path(char* out, const char* directory, int slot, const char* extension);

// Reads "<directory>\\details.txt" for `speaker`.  False when missing.
bool load_phoneme_details(const char* directory, int speaker);
// A slot number that selects no slot (a negative section number).
constexpr int kNoSlot = -1;
// True when `line` is a section line "[N]"; then `slot` becomes N, limited to
// 106 above, or kNoSlot when N is negative.
bool parse_section_header(const char* line, int& slot);
// Applies one details line (`key`, `value`) to `slot` of `speaker` (slot
// keys) or to the speaker (consonant factors).  Slot keys do nothing for
// kNoSlot.
void apply_detail(const char* key, const char* value, int speaker, int slot);
// Shortens "vokaric<speaker>\\<slot>.hv1" to its first `keep_bytes` bytes
// through a ".hv1.tmp" copy.  A missing file, a count of 0 or less, or a file
// not longer than the count leaves the directory unchanged.
void cut_excess_hv1(int speaker, int slot, long keep_bytes);

// Finds the host's message speed from its profile files, logs it and stores
// it (scaled by 4/3) in settings.message_speed.
void discover_message_speed();
// Scans the host profile file `path` (full path) for its first "messagespeed"
// line (key compared without case) and stores the value, in milliseconds per
// character and unscaled, in settings.message_speed.  Logs the path and the
// outcome.
void read_message_speed(const char* path);

}  // namespace vokari
