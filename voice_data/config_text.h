// The text routines of every configuration reader: blank trimming, trailing
// comments, the key/value split and the common line loop.  Texts are
// Shift_JIS; double-byte characters are stepped over whole.
#pragma once

#include <functional>
#include <string>

namespace vokari {

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
