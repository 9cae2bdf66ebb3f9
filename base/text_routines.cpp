// The string routines shared by the whole module.  Every text is Shift_JIS
// bytes: a byte 0x81-0x9F or 0xE0-0xFC starts a two-byte character.
#include <climits>
#include <cstring>

#include "base/text_routines.h"

namespace vokari {

// Reads one line from `stream` into `line` (emptied first): bytes up to and
// including the next line feed, NUL bytes skipped.  A line feed right after an
// unpaired lead byte is that byte's trail byte and does not end the line.
// Returns the line's length in bytes, or -1 when the stream ended before any
// byte was stored.
int read_line(std::FILE* stream, std::string& line) {
    line.clear();
    bool trail_expected = false;
    int c;
    while ((c = std::fgetc(stream)) != EOF) {
        if (c == 0) continue;
        line.push_back(static_cast<char>(c));
        if (trail_expected) {
            trail_expected = false;
            continue;
        }
        if (c == '\n') break;
        trail_expected = is_sjis_lead(static_cast<unsigned char>(c));
    }
    if (line.empty()) return -1;
    return line.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(line.size());
}

// Removes the last byte of `text` when it is `c`.
void strip_last_char(std::string& text, char c) {
    if (!text.empty() && text.back() == c) text.pop_back();
}

// Searches `pattern` (pattern_length bytes) in `text` (length bytes, which end
// early at a NUL byte) from byte `start`, stepping character by character so
// that a match never begins on a trail byte.  A lead byte right before the end
// ends the search.  Returns the byte index of the match, or -1.
int find_from(const char* text, int length, int start, const char* pattern, int pattern_length) {
    if (start < 0 || start > length || pattern_length < 0) return -1;
    const void* nul = std::memchr(text, '\0', static_cast<std::size_t>(length));
    if (nul != nullptr) length = static_cast<int>(static_cast<const char*>(nul) - text);
    if (start > length) return -1;
    if (pattern_length == 0) return start;
    int i = start;
    while (i < length) {
        if (length - i >= pattern_length &&
            std::memcmp(text + i, pattern, static_cast<std::size_t>(pattern_length)) == 0)
            return i;
        i += static_cast<int>(sjis_char_size(text, static_cast<std::size_t>(i), static_cast<std::size_t>(length)));
    }
    return -1;
}

// The same search in a std::string with a NUL-terminated pattern.
int find_from(const std::string& text, int start, const char* pattern) {
    const int length = text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
    return find_from(text.data(), length, start, pattern, static_cast<int>(std::strlen(pattern)));
}

// Splits `text` at every byte-wise occurrence of `delimiter` into `out`
// (emptied first); empty pieces are kept only when `keep_empty` is set.
void split_string(const std::string& text, std::vector<std::string>& out, const std::string& delimiter,
                  bool keep_empty) {
    out.clear();
    if (text.empty() || delimiter.empty()) return;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(delimiter, from);
        const std::size_t end = at == std::string::npos ? text.size() : at;
        if (end > from || keep_empty) out.push_back(text.substr(from, end - from));
        if (at == std::string::npos) return;
        from = at + delimiter.size();
    }
}

// The decimal text of `value`, with a minus sign when negative.
std::string int_to_decimal(long long value) { return std::to_string(value); }

// The C atoi of `text`: leading white space, an optional sign, then digits up
// to the first non-digit; 0 when there are none.  Saturates at INT_MIN and
// INT_MAX instead of overflowing.
int string_to_int(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace vokari
