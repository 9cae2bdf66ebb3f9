// Settings: the configuration record of a loaded life, its defaults and the reader of
// "vokari.txt".
#pragma once

#include <string>
#include <vector>

#include "host/base/module_paths.h"

namespace vokari {

struct LoadedVoice;

struct Settings {
    char log_path[kPathCapacity];     // empty: logging off
    unsigned char tag_prefix;         // '@'
    int talk_default_speed;           // ms per character, 130
    int message_speed;                // ms per character, 50 (then the host's)
    double speaker_frequency[2];      // 1.0, 1.0
    int delete_excess_hv1;            // 0 or 1
    unsigned char security_high;      // 0 or 1
};

// Resets Settings and the phoneme bank.
void load_defaults(LoadedVoice& voice);
// Reads "%s\\vokari.txt"; appends each "voice.translate.dic" value to
// `dictionary_names` and loads each "se" line's sound effect.
void read_settings(LoadedVoice& voice, std::vector<std::string>& dictionary_names);

}  // namespace vokari
