// vokari_settings_text.h: a voice's settings file ("vokari.txt") read the way
// load reads it, for the programs around the module that must know what the
// module will do with it (vokari-say).  The module's own reader lives beside
// this one (voice_data/), so the two cannot drift apart.
#pragma once

#include <string>
#include <vector>

namespace vokari {

// The bytes of the settings file in the folder `voice_dir` (a path as the
// system takes it, UTF-8 in the tools); "" when it has none or it cannot be
// read.
std::string read_settings_text(const char* voice_dir);

// Every value of `key` in the settings text `settings`, in file order: the
// text as load's text-mode read sees it (nothing past a byte 0x1A, line ends
// without their carriage return), each line read with the module's line rules
// (comment lines skipped, a trailing " //" comment removed, blanks trimmed,
// split at the first comma outside double quotes, keys compared exactly).
std::vector<std::string> setting_values(const std::string& settings, const char* key);

// The voice-control tag prefix load keeps: the first byte of the last
// "tag.prefix" value that it accepts ('@' when there is none; '\0' for an
// empty value, which turns voice-control tags off).
char tag_prefix_setting(const std::string& settings);

// The "talk.default.speed" load keeps: ms per kana, 130 when the line is
// missing.
int talk_default_speed_setting(const std::string& settings);

}  // namespace vokari
