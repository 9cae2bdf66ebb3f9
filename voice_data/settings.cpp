// The Settings record: its defaults and the reader of the settings file
// "vokari.txt" in the module directory.
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/shift_jis.h"
#include "base/text_routines.h"
#include "voice_data/config_text.h"
#include "voice_data/loaded_voice.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/request_log.h"
#include "voice_data/settings.h"
#include "voice_data/sound_effects.h"

namespace vokari {

// Resets Settings to its defaults and empties the phoneme bank.  The sound effects and the translation dictionary
// are left alone.
void load_defaults(LoadedVoice& voice) {
    Settings& settings = voice.settings;
    settings.security_high = 0;
    settings.log_path[0] = '\0';
    settings.reading_dic_path[0] = '\0';
    settings.accent_depth = 0.0;
    settings.prosody_model_path[0] = '\0';
    settings.prosody_range = 1.0;
    settings.prosody_tempo = 1.0;
    settings.tag_prefix = kDefaultTagPrefix;
    settings.message_speed = 50;
    settings.talk_default_speed = kDefaultTalkSpeed;
    settings.speaker_frequency[0] = 1.0;
    settings.speaker_frequency[1] = 1.0;
    settings.delete_excess_hv1 = 0;
    reset_phoneme_bank(voice.bank);
}

// The scanner's pairing rule decides, since it is the one that walks the
// script: a refused prefix would also put wait tags between a character's
// two bytes.
bool accept_tag_prefix(const char* value, unsigned char& prefix) {
    const auto first = static_cast<unsigned char>(value[0]);
    if (starts_script_pair(first)) return false;
    prefix = first;
    return true;
}

namespace {

// Applies one key/value line of the settings file.  Keys are case-sensitive;
// unknown keys are ignored.
void apply_setting(LoadedVoice& voice, const char* key, const char* value, SettingsRead& read) {
    Settings& settings = voice.settings;
    int found = -1;
    for (int i = 0; i < static_cast<int>(sizeof kSettingsKeys / sizeof *kSettingsKeys) && found < 0; ++i)
        if (std::strcmp(key, kSettingsKeys[i]) == 0) found = i;
    switch (found) {
    case kLogKey:
        // A path that does not fit leaves logging off.
        voice.module_path(settings.log_path, value);
        break;
    case kTagPrefixKey:
        if (!accept_tag_prefix(value, settings.tag_prefix))
            read.refused_tag_prefixes.push_back(static_cast<unsigned char>(value[0]));
        break;
    case kDictionaryKey: read.dictionary_names.emplace_back(value); break;
    case kTalkSpeedKey: settings.talk_default_speed = string_to_int(value); break;
    case kSoundEffectKey: add_sound_effect(voice, value); break;
    case kMainFrequencyKey: settings.speaker_frequency[0] = string_to_double(value); break;
    case kPartnerFrequencyKey: settings.speaker_frequency[1] = string_to_double(value); break;
    case kReadingDictionaryKey: voice.module_path(settings.reading_dic_path, value); break;
    case kPitchAccentKey: settings.accent_depth = string_to_double(value); break;
    case kProsodyModelKey: voice.module_path(settings.prosody_model_path, value); break;
    case kProsodyRangeKey: settings.prosody_range = string_to_double(value); break;
    case kProsodyTempoKey: settings.prosody_tempo = string_to_double(value); break;
    case kDeleteExcessKey:
        if (std::strcmp(value, "on") == 0) settings.delete_excess_hv1 = 1;
        break;
    case kSecurityLevelKey:
        if (std::strcmp(value, "high") == 0) settings.security_high = 1;
        break;
    default: break;  // unknown keys are ignored
    }
}

}  // namespace

// Reads "<module_dir>\vokari.txt" over the defaults, line by line in file
// order, and loads every "se" effect at once.  Returns every
// "voice.translate.dic" value, every refused "tag.prefix" byte and whether
// the file reads as UTF-8.  A missing file leaves the defaults.
SettingsRead read_settings(LoadedVoice& voice) {
    SettingsRead read;
    char path[kPathCapacity];
    if (!voice.module_path(path, kSettingsFileName)) return read;
    read.path = path;
    const ConfigFileRead file = for_each_config_line(path, [&](char* line) {
        if (const auto split = split_key_value(line))
            apply_setting(voice, split->key.c_str(), split->value.c_str(), read);
    });
    read.opened = file.opened;
    read.utf8_text = file.utf8_text;
    return read;
}

// The refused byte in hex; the kept prefix as a character when it is
// printable ASCII, else in hex too.
void log_refused_tag_prefix(const Settings& settings, unsigned char refused) {
    const unsigned char kept = settings.tag_prefix;
    char refused_text[8];
    char kept_text[8];
    std::snprintf(refused_text, sizeof refused_text, "0x%02X", refused);
    if (kept > 0x20 && kept < 0x7F) std::snprintf(kept_text, sizeof kept_text, "'%c'", kept);
    else std::snprintf(kept_text, sizeof kept_text, "0x%02X", kept);
    log_line(settings, LogLine::RefusedTagPrefix, {refused_text, kept_text});
}

}  // namespace vokari
