// The phoneme bank: loading the recorded samples of both speakers from the four
// sample directories, lending the main character's samples to a partner that
// has none, and releasing them again.
#include "voice_data/phoneme_bank.h"

#include <climits>
#include <cstdio>
#include <new>
#include <string>

#include "base/module_paths.h"
#include "voice_data/request_log.h"
#include "platform/platform.h"
#include "voice_data/loaded_voice.h"
#include "voice_data/sample_file.h"
#include "base/wav_format.h"

namespace vokari {

// Empties all 214 slots, sets their tuning values and both speakers'
// consonant factors to the defaults, and clears last_sample_was_hv1.
void reset_phoneme_bank(PhonemeBank& bank) {
    for (auto& speaker_slots : bank.slots)
        for (PhonemeSlot& slot : speaker_slots) slot = PhonemeSlot();
    for (int speaker = 0; speaker < kSpeakerCount; ++speaker) {
        bank.consonant_frequency[speaker] = 1.0;
        bank.consonant_level[speaker] = 1.0;
    }
    bank.last_sample_was_hv1 = 0;
}

// out: kPathCapacity bytes for "<module_dir>\\<directory>\\<slot><extension>".
// False, with `out` empty, when the path does not fit.
bool format_slot_path(const char* module_dir, char* out, const char* directory, int slot, const char* extension) {
    char relative[kPathCapacity];
    int length = std::snprintf(relative, sizeof relative, "%s\\%d%s", directory, slot, extension);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof relative) {
        out[0] = '\0';
        return false;
    }
    return format_module_path(module_dir, out, relative);
}

// Loads the four sample folders in their fixed order and logs them.  Returns
// which of the partner's folders gave no sample.
PartnerGaps load_phoneme_bank(LoadedVoice& voice) {
    log_line(voice.settings, LogLine::LoadingSamples);
    // Speaker 0 has no fallback, so only the partner's results are kept.
    load_phoneme_directory(voice, sample_folder(true, 0), 0, true);
    bool partner_has_vowels = load_phoneme_directory(voice, sample_folder(true, 1), 1, true);
    load_phoneme_directory(voice, sample_folder(false, 0), 0, false);
    bool partner_has_consonants = load_phoneme_directory(voice, sample_folder(false, 1), 1, false);
    log_line(voice.settings, LogLine::GroupDone);
    PartnerGaps gaps;
    gaps.vowels = !partner_has_vowels;
    gaps.consonants = !partner_has_consonants;
    return gaps;
}

// Loads every slot of `speaker` that has a file in `directory` and logs one
// mark per slot.  True when at least one sample was loaded.
bool load_phoneme_directory(LoadedVoice& voice, const char* directory, int speaker, bool vowel_directory) {
    log_label(voice.settings, LogLine::SampleFolder, {directory});

    std::string marks;
    int loaded = 0;
    for (int n = 0; n < kSlotCount; ++n) {
        char wav_path[kPathCapacity];
        char hv1_path[kPathCapacity];
        // A path that does not fit is a file that cannot be opened.
        long wav_length =
            format_slot_path(voice.module_dir, wav_path, directory, n, ".wav") ? file_length(wav_path) : -1;
        long hv1_length =
            format_slot_path(voice.module_dir, hv1_path, directory, n, ".hv1") ? file_length(hv1_path) : -1;
        if (wav_length < 0 && hv1_length < 0) {
            marks += '-';
            continue;
        }
        bool use_hv1 = hv1_length >= 0;
        voice.bank.last_sample_was_hv1 = use_hv1 ? 1 : 0;

        PhonemeSlot& slot = voice.bank.slots[speaker][n];
        bool ok = use_hv1 ? read_sample_file(hv1_path, hv1_length, 0, slot.data)
                          : read_sample_file(wav_path, wav_length, kWavHeaderSize, slot.data);
        slot.size = static_cast<std::int32_t>(slot.data.size());
        if (!vowel_directory) slot.loop_chunk_offset = slot.size - 1;
        marks += ok ? 'o' : '-';
        if (ok) ++loaded;
    }
    log_rest(voice.settings, LogLine::SampleFolder, {marks});
    return loaded > 0;
}

// Copies the vowel slots (0-4, 45) or the consonant slots of speaker 0 to
// speaker 1, in ascending slot order.
void fill_partner_from_main(PhonemeBank& bank, SlotGroup group) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (is_vowel_slot(slot) == (group == SlotGroup::Vowel)) copy_slot_to_partner(bank, slot);
    }
}

// Speaker 1's slot `slot` becomes a copy of speaker 0's: sample and tuning.
void copy_slot_to_partner(PhonemeBank& bank, int slot) {
    if (slot < 0 || slot >= kSlotCount) return;
    PhonemeSlot& partner = bank.slots[1][slot];
    try {
        partner = bank.slots[0][slot];
    } catch (const std::bad_alloc&) {
        // Without memory for the copy the partner's slot stays silent.
        std::vector<std::uint8_t>().swap(partner.data);
        partner.size = 0;
    }
}

// Frees every slot's sample; each slot is left silent (size 0).
void release_phoneme_bank(PhonemeBank& bank) {
    for (auto& speaker_slots : bank.slots) {
        for (PhonemeSlot& slot : speaker_slots) {
            std::vector<std::uint8_t>().swap(slot.data);
            slot.size = 0;
        }
    }
}

}  // namespace vokari
