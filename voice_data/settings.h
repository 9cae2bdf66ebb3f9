// Settings: the global configuration record, its defaults, the reader of
// "vokari.txt", and the text routines shared by every configuration reader.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/entry_points.h"

namespace vokari {

struct Settings {
    char log_path[kPathCapacity];     // empty: logging off
    unsigned char tag_prefix;         // '@'
    int talk_default_speed;           // ms per character, 130
    int message_speed;                // ms per character, 50 (then the host's)
    double speaker_frequency[2];      // 1.0, 1.0
    int delete_excess_hv1;            // 0 or 1
    unsigned char security_high;      // 0 or 1
};

extern Settings settings;

// Resets Settings, the phoneme bank and the tables computed at load.
void load_defaults();
// Reads "%s\\vokari.txt"; appends each "voice.translate.dic" value to
// `dictionary_names` and loads each "se" line's sound effect.
void read_settings(std::vector<std::string>& dictionary_names);

// Removes a trailing "//" comment that follows a blank outside double quotes.
void strip_comment(char* line);
// Splits at the first unquoted `separator`; trims both halves.  `key` and
// `value` must hold at least strlen(line) + 1 bytes.
bool split_key_value(const char* line, char* key, char* value, const char* separator);
// Removes spaces, tabs and full-width spaces (0x81 0x40) from both ends.
void trim_blanks(char* text);
void trim_blanks(std::string& text);

// The common line loop: opens `path` in text mode and calls `on_line` with
// every line that is not empty and not a "//" comment, after strip_comment.
// `on_line` gets the line itself (for section headers) and returns nothing; it
// may call split_key_value itself.  Returns false when the file cannot be
// opened.
bool for_each_config_line(const char* path, const std::function<void(char* line)>& on_line);

}  // namespace vokari
