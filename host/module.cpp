// Loading and unloading one Module: the module directory from the host's
// block, then everything load reads in its fixed order.
#include "host/module.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "platform/platform.h"
#include "voice_data/config_text.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/request_log.h"
#include "voice_data/settings.h"
#include "voice_data/sound_effects.h"

namespace vokari {

namespace {

// True when the last of `length` bytes is a backslash character of its own,
// not the trail byte of a double-byte character.
bool ends_in_backslash(const char* text, std::size_t length) {
    if (length == 0 || text[length - 1] != '\\') return false;
    std::size_t last_char = 0;
    for (std::size_t i = 0; i < length; i += sjis_char_size(text, i, length)) last_char = i;
    return last_char == length - 1;
}

// Copies the host's directory block into `module_dir`: at most `length`
// bytes, stopping at a NUL, without one backslash that is the last counted
// byte.  A directory of more than 1,024 bytes is refused: `module_dir` stays
// empty and the function returns false.
bool store_module_dir(char (&module_dir)[kModuleDirCapacity], const char* block, long length) {
    module_dir[0] = '\0';
    if (block == nullptr || length <= 0) return true;
    const std::size_t counted = static_cast<std::size_t>(length);
    const void* nul = std::memchr(block, '\0', counted);
    std::size_t kept = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - block) : counted;
    if (kept == counted && ends_in_backslash(block, counted)) --kept;
    if (kept >= kModuleDirCapacity) return false;
    std::memcpy(module_dir, block, kept);
    module_dir[kept] = '\0';
    return true;
}

// The reading step, when the settings name its dictionary: a folder that
// cannot be used costs one warning and leaves speech as without the key.
void open_reader(Module& module) {
    const Settings& settings = module.voice.settings;
    if (settings.reading_dic_path[0] == '\0') return;
    char folder[kPathCapacity];
    platform::native_path(settings.reading_dic_path, folder, sizeof folder);
    const std::string problem = module.reader.open(folder);
    if (problem.empty()) return;
    log_line(settings, LogLine::ReadingDictionaryUnusable, {settings.reading_dic_path, problem});
}

// The prosody model, when the settings name its trained voice: it times the
// reader's words, so without the reader it is refused too.  One warning,
// and speech as without the key.
void open_prosody_model(Module& module) {
    const Settings& settings = module.voice.settings;
    if (settings.prosody_model_path[0] == '\0') return;
    std::string problem = "needs voice.reading.dic";
    if (module.reader.is_open()) {
        char path[kPathCapacity];
        platform::native_path(settings.prosody_model_path, path, sizeof path);
        problem = module.prosody.open(path);
        if (problem.empty()) return;
    }
    log_line(settings, LogLine::ProsodyModelUnusable, {settings.prosody_model_path, problem});
}

// Everything load reads, in its fixed order; the log starts once the settings
// have named it.
void run_loading_sequence(Module& module) {
    LoadedVoice& voice = module.voice;
    const Settings& settings = voice.settings;
    load_defaults(voice);
    const SettingsRead settings_read = read_settings(voice);
    log_start(settings);
    // What the settings reader refused or doubted, now that the log is open.
    if (settings_read.utf8_text) log_line(settings, LogLine::Utf8File, {settings_read.path});
    for (const unsigned char refused : settings_read.refused_tag_prefixes) log_refused_tag_prefix(settings, refused);
    log_line(settings, LogLine::LoadingDictionaries);
    for (const std::string& name : settings_read.dictionary_names)
        load_translation_file(voice, module.dictionary, name.c_str());
    log_line(settings, LogLine::GroupDone);
    open_reader(module);
    open_prosody_model(module);
    add_system_pairs(settings, module.reader.is_open() ? module.kana_pairs : module.dictionary);
    const PartnerGaps partner_gaps = load_phoneme_bank(voice);
    log_line(settings, LogLine::LoadingDetails);
    load_phoneme_details(voice, sample_folder(true, 0), 0);
    load_phoneme_details(voice, sample_folder(true, 1), 1);
    load_phoneme_details(voice, sample_folder(false, 0), 0);
    load_phoneme_details(voice, sample_folder(false, 1), 1);
    log_line(settings, LogLine::GroupDone);
    // A partner without samples of a group speaks with the main character's.
    if (partner_gaps.vowels) fill_partner_from_main(voice.bank, SlotGroup::Vowel);
    if (partner_gaps.consonants) fill_partner_from_main(voice.bank, SlotGroup::Consonant);
    discover_message_speed(voice);
}

}  // namespace

void load_module(Module& module, const char* block, long length) {
    const bool directory_stored = store_module_dir(module.voice.module_dir, block, length);
    // A fresh loaded life: the lists that loading fills are emptied first.
    module.dictionary.clear();
    module.kana_pairs.clear();
    module.dictionary_index = TranslationIndex();
    module.voice.sound_effects.clear();
    module.reader.close();
    module.prosody.close();
    try {
        if (directory_stored) {
            run_loading_sequence(module);
        } else {
            load_defaults(module.voice);
            add_system_pairs(module.voice.settings, module.dictionary);
        }
        module.dictionary_index.build(module.dictionary);
    } catch (...) {
    }
}

void unload_module(Module& module) {
    try {
        log_end(module.voice.settings);
    } catch (...) {
    }
    platform::current_player()->purge();
    release_sound_effects(module.voice.sound_effects);
    release_wav_image(module.image);
    release_phoneme_bank(module.voice.bank);
    module.reader.close();
    module.prosody.close();
}

}  // namespace vokari
