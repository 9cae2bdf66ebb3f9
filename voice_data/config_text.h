// The common line loop of every configuration reader (the lines themselves
// are read with base/config_line.h), and the warning for a file saved as
// UTF-8.
#pragma once

#include <functional>
#include <string>

#include "base/config_line.h"

namespace vokari {

// What the common line loop saw of a file as a whole.
struct ConfigFileRead {
    bool opened = false;     // false: the file could not be opened, no line was seen
    bool utf8_text = false;  // every byte is valid UTF-8 with at least one multi-byte character
};

// The common line loop: opens `path` in text mode and calls `on_line` with
// every line that is not empty and not a "//" comment, after strip_comment.
// `on_line` gets the line itself (for section headers) and returns nothing; it
// may call split_key_value on it.  Returns whether the file was opened and
// whether its bytes, comment lines included, read as UTF-8 text rather than
// Shift_JIS.
ConfigFileRead for_each_config_line(const char* path, const std::function<void(char* line)>& on_line);

}  // namespace vokari
