// The few settings of a voice's "vokari.txt" that vokari-say needs to know.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace say {

// Every value of `key` in the settings text `settings` (Shift_JIS bytes), in
// file order, read with the module's own line routines (base/config_line.h):
// lines split at their first comma outside double quotes, "//" comment lines
// skipped, a trailing " //" comment removed, blanks (spaces, tabs, full-width
// spaces) trimmed, keys compared case-sensitively, and nothing read past a
// byte 0x1A, which ends a text file.
std::vector<std::string> setting_values(const std::string& settings, const std::string& key);

// The settings text of the voice in `module_dir` ("" when it has no readable
// "vokari.txt").
std::string read_settings_text(const std::string& module_dir);

// The byte that introduces the module's voice-control tags in the settings
// text `settings`: the first byte of the last "tag.prefix" value; '@' when
// the line is missing or that byte starts a Shift_JIS double-byte character;
// '\0' when the value is empty (no voice-control tags).
char tag_prefix_of(const std::string& settings);

// The module's "talk.default.speed" for the settings text (ms per kana, read
// like C atoi; 130 when the line is missing).
int talk_default_speed_of(const std::string& settings);

}  // namespace say
}  // namespace vokari
