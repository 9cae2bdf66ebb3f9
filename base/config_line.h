// One line of a configuration text ("key,value" settings, dictionaries,
// details, request headers): blank trimming, trailing comments and the
// key/value split.  Texts are Shift_JIS; double-byte characters are stepped
// over whole.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vokari {

// Removes a trailing "//" comment that follows a blank outside double quotes.
void strip_comment(char* line);
struct KeyValue {
    std::string key;
    std::string value;
};
// Splits `line` at the first `separator` outside double quotes into the bytes
// before it and the bytes after it, both trimmed; nothing when there is no
// such separator.
std::optional<KeyValue> split_key_value(const char* line, const char* separator = ",");
// Removes spaces, tabs and full-width spaces (0x81 0x40) from both ends.
void trim_blanks(char* text);
void trim_blanks(std::string& text);

// The content of one line (without its line feed): false for an empty line or
// a "//" comment line; otherwise `out` holds the line, NUL-terminated, with
// its trailing comment removed.
bool config_line_content(const std::string& line, std::vector<char>& out);

}  // namespace vokari
