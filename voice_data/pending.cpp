// Temporary placeholders so that the tree links while this area is being
// written.  Delete each function as its real implementation lands.
#include "voice_data/phoneme_bank.h"
#include "voice_data/sound_effects.h"

namespace vokari {
PhonemeBank phoneme_bank;
std::vector<SoundEffect> sound_effects;
void reset_phoneme_bank() {}
int load_phoneme_bank() { return 0; }
bool load_phoneme_directory(const char*, int, bool) { return false; }
void fill_partner_from_main(SlotGroup) {}
void copy_slot_to_partner(int) {}
long file_length(const char*) { return -1; }
void release_phoneme_bank() {}
bool load_phoneme_details(const char*, int) { return false; }
void discover_message_speed() {}
void add_sound_effect(const char*) {}
int find_sound_effect(const std::string&) { return -1; }
void release_sound_effects() {}
}  // namespace vokari
