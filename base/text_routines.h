// The string routines shared by the whole module.  Every text is a Shift_JIS
// byte string held in std::string or a NUL-terminated char array.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "base/decimal_parsing.h"
#include "base/shift_jis.h"

namespace vokari {

// Reads one line (line feed included) with fgetc, skipping NUL bytes; a line
// feed right after an unpaired Shift_JIS lead byte is that byte's trail byte.
// Returns the length, or -1 when the stream ends with the line still empty.
int read_line(std::FILE* stream, std::string& line);

// Removes the last byte of `text` when it equals `c`.
void strip_last_char(std::string& text, char c);

// Shift_JIS-aware search of `pattern` in `text` from byte `start`.  Returns the
// byte index of the match or -1.  An empty pattern matches at `start`.
int find_from(const std::string& text, int start, const char* pattern);
int find_from(const char* text, int length, int start, const char* pattern, int pattern_length);

// Splits `text` at every byte-wise `delimiter` into `out` (emptied first);
// empty pieces are kept only when `keep_empty` is set.
void split_string(const std::string& text, std::vector<std::string>& out, const std::string& delimiter,
                  bool keep_empty);
// The decimal text of `value`.
std::string int_to_decimal(long long value);
// C atoi rules without undefined behaviour: saturates at the int range.
int string_to_int(const char* text);

}  // namespace vokari
