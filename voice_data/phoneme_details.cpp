// The details files of the sample directories: per-slot vowel delays, loop or
// fade lengths and corrections, per-speaker consonant factors, and the
// trimming of consonant ".hv1" files down to the part that is ever played.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/module_paths.h"
#include "base/text_routines.h"
#include "voice_data/request_log.h"
#include "platform/platform.h"
#include "voice_data/loaded_voice.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/sample_file.h"
#include "voice_data/config_text.h"
#include "voice_data/settings.h"

namespace vokari {

namespace {

// Longest number text read from a section line, in bytes.
constexpr std::size_t kSectionNumberLimit = 64;

bool is_slot_number(int slot) { return slot >= 0 && slot < kSlotCount; }

// Reads the first `count` bytes of `path` into `bytes`; false when the file
// cannot be opened or is shorter.
bool read_leading_bytes(const char* path, long count, std::vector<std::uint8_t>& bytes) {
    const platform::ScopedFile file(platform::open_file(path, "rb"));
    if (!file) return false;
    bytes.resize(static_cast<std::size_t>(count));
    return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

// Replaces the contents of `path` by `bytes`; false when any step failed.
bool write_whole_file(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = platform::open_file(path, "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

// Reads "<module_dir>\\<directory>\\details.txt" into the slots of `speaker`
// and logs the outcome.  False when the file cannot be opened.
bool load_phoneme_details(LoadedVoice& voice, const char* directory, int speaker) {
    log_label(voice.settings, LogLine::DetailsRead, {directory});

    char path[kPathCapacity];
    std::string relative = std::string(directory) + "\\" + kDetailsFileName;
    int slot = 0;
    bool read = voice.module_path(path, relative.c_str()) &&
                for_each_config_line(path, [&](char* line) {
                    if (parse_section_header(line, slot)) return;
                    if (const auto split = split_key_value(line))
                        apply_detail(voice, split->key.c_str(), split->value.c_str(), speaker, slot);
                }).opened;
    log_rest(voice.settings, read ? LogLine::DetailsRead : LogLine::DetailsUnreadable);
    return read;
}

// True for a section line "[N]" (at least 3 bytes, no blanks around it);
// `slot` becomes N limited to 106, or kNoSlot for a negative N.
bool parse_section_header(const char* line, int& slot) {
    std::size_t length = std::strlen(line);
    if (length < 3 || line[0] != '[' || line[length - 1] != ']') return false;
    std::size_t digits = length - 2;
    if (digits > kSectionNumberLimit) digits = kSectionNumberLimit;
    std::string number(line + 1, digits);
    int n = string_to_int(number.c_str());
    if (n < 0) slot = kNoSlot;
    else slot = n < kSlotCount ? n : kSlotCount - 1;
    return true;
}

// Sets the value that `key` names: a sample count, byte index or factor of
// slot `slot`, or a consonant factor of `speaker`.  Unknown keys are ignored.
void apply_detail(LoadedVoice& voice, const char* key, const char* value, int speaker, int slot) {
    PhonemeBank& bank = voice.bank;
    if (speaker < 0 || speaker >= kSpeakerCount) return;
    int found = -1;
    for (int i = 0; i < static_cast<int>(sizeof kDetailKeys / sizeof *kDetailKeys) && found < 0; ++i)
        if (std::strcmp(key, kDetailKeys[i]) == 0) found = i;
    // Keys for the whole speaker, valid under any section.
    if (found == kConsonantFrequencyKey) {
        bank.consonant_frequency[speaker] = string_to_double(value);
        return;
    }
    if (found == kConsonantLevelKey) {
        bank.consonant_level[speaker] = string_to_double(value);
        return;
    }
    if (!is_slot_number(slot)) return;
    PhonemeSlot& target = bank.slots[speaker][slot];
    if (found == kVowelDelayKey) {
        target.vowel_delay = string_to_int(value);
    } else if (found == kLoopOffsetKey) {
        int requested = string_to_int(value);
        target.loop_chunk_offset = requested < target.size - 1 ? requested : target.size - 1;
        // Keeping L + 1 bytes leaves a file that the same line, clamped
        // against the shorter sample next time, does not cut again.
        if (voice.settings.delete_excess_hv1 == 1 && bank.last_sample_was_hv1 == 1 && !is_vowel_slot(slot))
            cut_excess_hv1(voice.module_dir, speaker, slot, static_cast<long>(target.loop_chunk_offset) + 1);
    } else if (found == kCorrectFrequencyKey) {
        target.correct_frequency = string_to_double(value);
    } else if (found == kCorrectLevelKey) {
        target.correct_level = string_to_double(value);
    }
}

// Shortens the speaker's consonant file of `slot` to its first `keep_bytes`
// bytes; leaves the folder as it was when there is nothing to cut or a step
// fails.
void cut_excess_hv1(const char* module_dir, int speaker, int slot, long keep_bytes) {
    if (keep_bytes <= 0 || speaker < 0 || speaker >= kSpeakerCount || !is_slot_number(slot)) return;
    const char* directory = sample_folder(false, speaker);
    char sample_path[kPathCapacity];
    char temporary_path[kPathCapacity];
    if (!format_slot_path(module_dir, sample_path, directory, slot, ".hv1") ||
        !format_slot_path(module_dir, temporary_path, directory, slot, ".hv1.tmp"))
        return;

    // Only an existing file longer than the part to keep is touched.
    long length = file_length(sample_path);
    if (length <= keep_bytes) return;

    // The temporary copy is the backup that restores the sample if writing
    // the shortened file fails part-way; it stays only if even that fails.
    std::vector<std::uint8_t> kept;
    bool backed_up = platform::copy_file(sample_path, temporary_path);
    if (backed_up && read_leading_bytes(temporary_path, keep_bytes, kept) && !write_whole_file(sample_path, kept) &&
        !platform::copy_file(temporary_path, sample_path))
        return;
    platform::delete_file(temporary_path);
}

}  // namespace vokari
