// Request handling: protocol detection, headers, the security gate and the
// composition of the response; plus the string routines shared by the whole
// module.  Every text is a Shift_JIS byte string held in std::string.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vokari {

struct HeaderField {
    std::string name;
    std::string value;
};

constexpr int kHeaderCount = 8;
extern HeaderField request_headers[kHeaderCount];

// Turns the NUL-terminated request copy (edited in place) into the complete
// response, ending in "\r\nCharset: Shift_JIS\r\n\r\n".
void handle_request(char* request_copy, std::string& response);

// Empties the headers and the per-request voice state (wav_output_spec,
// wav_output_silent, pitch_step_size).
void reset_request_state();

// Value of the first header named exactly `name`; empty when none.
std::string get_header(const char* name);

// --- shared string routines ---------------------------------------------------
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

// True when byte b starts a two-byte Shift_JIS character (0x81-0x9F, 0xE0-0xFC).
inline bool is_sjis_lead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

void split_string(const std::string& text, std::vector<std::string>& out,
                  const std::string& delimiter, bool keep_empty);
std::string int_to_decimal(long long value);
// C atoi rules without undefined behaviour: saturates at the int range.
int string_to_int(const char* text);
// C atof rules for decimal text (leading blanks, sign, digits, point, digits,
// exponent), computed the same way on every build; text that is not a decimal
// number ("inf", "nan", hexadecimal) reads as far as it is decimal, else 0.0.
double string_to_double(const char* text);

}  // namespace vokari
