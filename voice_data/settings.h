// Settings: the configuration record of a loaded life, its defaults and the reader of
// "vokari.txt".
#pragma once

#include <string>
#include <vector>

#include "base/module_paths.h"

namespace vokari {

struct LoadedVoice;

struct Settings {
    char log_path[kPathCapacity];            // empty: logging off
    unsigned char tag_prefix;                // '@'
    int talk_default_speed;                  // ms per character, 130
    int message_speed;                       // ms per character, 50 (then the host's)
    double speaker_frequency[2];             // 1.0, 1.0
    int delete_excess_hv1;                   // 0 or 1
    unsigned char security_high;             // 0 or 1
    char reading_dic_path[kPathCapacity];    // "voice.reading.dic": the analyser dictionary's folder; empty: no reading
                                             // step
    double accent_depth;                     // "voice.pitch.accent": pitch steps of the accent's rise; 0: flat
    char prosody_model_path[kPathCapacity];  // "voice.prosody.model": the trained voice file; empty: no model
    double prosody_range;                    // "voice.prosody.range": the model's F0 range, 1.0; 0: flat
    double prosody_tempo;                    // "voice.prosody.tempo": the model's speed, 1.0; 2.0: twice as fast
};

// What reading the settings file found besides the settings themselves.  The
// log is not open while the file is read, so the caller reports the refusals
// once it is.
struct SettingsRead {
    std::string path;                                 // the settings file, empty when the path does not fit
    bool opened = false;                              // false: no file, every setting kept its default
    bool utf8_text = false;                           // the file reads as UTF-8 text, not Shift_JIS
    std::vector<std::string> dictionary_names;        // "voice.translate.dic" values in file order
    std::vector<unsigned char> refused_tag_prefixes;  // "tag.prefix" first bytes that start a two-byte character
};

constexpr unsigned char kDefaultTagPrefix = '@';
constexpr int kDefaultTalkSpeed = 130;  // ms per kana

// Takes the first byte of a "tag.prefix" value as the prefix unless it starts
// a two-byte character the way the scanner pairs bytes (a full-width at sign
// is the usual slip): such a prefix would take every character with that
// first byte for a tag.  False when the byte is refused and `prefix` kept.
bool accept_tag_prefix(const char* value, unsigned char& prefix);

// Resets Settings and the phoneme bank.
void load_defaults(LoadedVoice& voice);
// Reads "%s\\vokari.txt" over the defaults and loads each "se" line's sound
// effect; returns the dictionary names, the refused lines and how the file read.
SettingsRead read_settings(LoadedVoice& voice);
// Logs the warning for a refused "tag.prefix" byte `refused` beside the
// prefix in force.
void log_refused_tag_prefix(const Settings& settings, unsigned char refused);

}  // namespace vokari
